// Reading version texts and deciding whether the server's version is newer.

#include "TestSupport.h"
#include "VersionCompare.h"

class TestVersionCompare : public QObject {
  Q_OBJECT

private slots:
  void parseVersion_data();
  void parseVersion();
  void isLatestVersion_data();
  void isLatestVersion();
};

void TestVersionCompare::parseVersion_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("major");
  QTest::addColumn<int>("minor");
  QTest::addColumn<int>("patch");
  QTest::addColumn<QString>("tag");
  QTest::addColumn<int>("number");

  QTest::newRow("release") << "1.0.7" << 1 << 0 << 7 << "" << 0;
  QTest::newRow("pre-release") << "1.0.7-beta.1" << 1 << 0 << 7 << "beta" << 1;
  QTest::newRow("multi-digit fields") << "12.345.6789-rc.10" << 12 << 345 << 6789 << "rc" << 10;
  QTest::newRow("leading letter") << "v2.3.4" << 2 << 3 << 4 << "" << 0;
  QTest::newRow("words around it") << "release 1.0.8 (stable)" << 1 << 0 << 8 << "" << 0;
  QTest::newRow("first of two versions") << "1.2.3 then 4.5.6" << 1 << 2 << 3 << "" << 0;
  QTest::newRow("four fields: the first three") << "1.2.3.4" << 1 << 2 << 3 << "" << 0;
  QTest::newRow("tag without number is no pre-release") << "1.0.7-beta" << 1 << 0 << 7 << "" << 0;
  QTest::newRow("tag with underscore and digits") << "1.0.7-rc_2b.3" << 1 << 0 << 7 << "rc_2b" << 3;
  QTest::newRow("two fields only") << "1.0" << 0 << 0 << 0 << "" << 0;
  QTest::newRow("empty") << "" << 0 << 0 << 0 << "" << 0;
  QTest::newRow("no digits") << "latest" << 0 << 0 << 0 << "" << 0;
  QTest::newRow("non-ASCII digits are no digits") << QString::fromUtf8("١.٢.٣") << 0 << 0 << 0 << "" << 0;
}

void TestVersionCompare::parseVersion() {
  QFETCH(QString, text);
  const VersionCompare::Version version = VersionCompare::parseVersion(text);
  QTEST(version.major, "major");
  QTEST(version.minor, "minor");
  QTEST(version.patch, "patch");
  QTEST(version.preReleaseTag, "tag");
  QTEST(version.preReleaseNumber, "number");
}

void TestVersionCompare::isLatestVersion_data() {
  QTest::addColumn<QString>("current");
  QTest::addColumn<QString>("latest");
  QTest::addColumn<bool>("isLatest");

  QTest::newRow("same version") << "1.0.7"
                                << "1.0.7" << true;
  QTest::newRow("newer patch") << "1.0.7"
                               << "1.0.8" << false;
  QTest::newRow("older patch") << "1.0.7"
                               << "1.0.6" << true;
  QTest::newRow("newer minor beats lower patch") << "1.0.7"
                                                 << "1.1.0" << false;
  QTest::newRow("newer major beats lower minor") << "1.9.9"
                                                 << "2.0.0" << false;
  QTest::newRow("older major despite higher minor") << "2.0.0"
                                                    << "1.9.9" << true;
  QTest::newRow("numbers, not text: 1.0.10 after 1.0.9") << "1.0.9"
                                                         << "1.0.10" << false;
  // A release is older than a pre-release of the same numbers: only the
  // pre-release numbers are compared (0 for a release).
  QTest::newRow("pre-release of the same numbers is newer") << "1.0.7"
                                                            << "1.0.7-beta.1" << false;
  QTest::newRow("rc.2 of the same numbers") << "1.0.7"
                                            << "1.0.7-rc.2" << false;
  QTest::newRow("pre-release of an older patch") << "1.0.7"
                                                 << "1.0.6-rc.9" << true;
  QTest::newRow("same pre-release number") << "1.0.7-rc.2"
                                           << "1.0.7-rc.2" << true;
  QTest::newRow("higher pre-release number") << "1.0.7-rc.2"
                                             << "1.0.7-rc.3" << false;
  QTest::newRow("release after a pre-release is not newer") << "1.0.7-rc.2"
                                                            << "1.0.7" << true;
  QTest::newRow("tags are never compared") << "1.0.7-beta.2"
                                           << "1.0.7-alpha.2" << true;
  QTest::newRow("tag alone does not count") << "1.0.7-alpha.1"
                                            << "1.0.7-zeta.1" << true;
  QTest::newRow("words around the server version") << "1.0.7"
                                                   << "v1.0.8 release" << false;
  QTest::newRow("empty server version") << "1.0.7"
                                        << "" << true;
  QTest::newRow("unreadable server version") << "1.0.7"
                                             << "garbage" << true;
}

void TestVersionCompare::isLatestVersion() {
  QFETCH(QString, current);
  QFETCH(QString, latest);
  QTEST(VersionCompare::isLatestVersion(current, latest), "isLatest");
}

ORVIK_TEST_MAIN(TestVersionCompare)
#include "tst_versioncompare.moc"
