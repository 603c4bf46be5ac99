// The IP-location lookup against a real HTTP server on 127.0.0.1: the replies
// of the service, HTTP and connection failures, and a server that never
// answers (the call gives up after 5 s and aborts the request).

#include "LocationQuery.h"
#include "LogRecorder.h"
#include "PresetModel.h"
#include "SystemConfig.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QNetworkProxy>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

using orvik::test::LogRecorder;

namespace {

const QString kNoNetwork = QStringLiteral("请检查网络是否连接!!!");

// A minimal HTTP/1.1 server: answers every request with one fixed reply, or
// keeps the first `hangCount` connections open without a word.
class HttpServer : public QTcpServer {
public:
  int status = 200;
  QByteArray body;
  int hangCount = 0;
  QList<QByteArray> requestLines;
  int disconnectedHanging = 0;

  HttpServer() {
    connect(this, &QTcpServer::newConnection, this, [this]() {
      while (QTcpSocket *socket = nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer]() {
          buffer->append(socket->readAll());
          if (!buffer->contains("\r\n\r\n")) return;
          requestLines.append(buffer->left(buffer->indexOf("\r\n")));
          buffer->clear();
          if (hangCount > 0) {
            --hangCount;
            connect(socket, &QTcpSocket::disconnected, this, [this]() { ++disconnectedHanging; });
            return;
          }
          const QByteArray reason = status == 200 ? "OK" : "Error";
          socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
                        "\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
          socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  QString host() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }
};

void pointLookupAt(const QString &host) {
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("locationHost"), host);
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));
}

QByteArray reply(const QString &district) {
  return QStringLiteral(R"({"status":0,"message":"query ok","request_id":"abc",
    "result":{"ip":"203.0.113.7","location":{"lat":22.5,"lng":113.9},
    "ad_info":{"nation":"中国","province":"广东省","city":"深圳市","district":"%1","adcode":440305}}})")
      .arg(district)
      .toUtf8();
}

}  // namespace

class TestLocation : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();

  void requestUrl_hostPathAndKey();
  void locationInfo_missingLevelsReadEmpty();

  void query_goodReply_joinsTheFourTexts_data();
  void query_goodReply_joinsTheFourTexts();
  void query_nonZeroStatus_returnsItsMessage();
  void query_bodyNotJsonOrWithoutStatus_returnsEmpty_data();
  void query_bodyNotJsonOrWithoutStatus_returnsEmpty();
  void query_httpError_returnsHint();
  void query_connectionRefused_returnsHint();
  void query_silentServer_givesUpAfterFiveSecondsAndAborts();

private:
  std::unique_ptr<LogRecorder> m_log;
  HttpServer m_server;
};

void TestLocation::initTestCase() {
  // The test talks to 127.0.0.1 only; a proxy of the environment must not come between.
  QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
  m_log = std::make_unique<LogRecorder>();
  SystemConfig::instance()->init();
  QVERIFY(m_server.listen(QHostAddress::LocalHost));
}

void TestLocation::init() {
  m_server.status = 200;
  m_server.body.clear();
  m_server.hangCount = 0;
  m_server.requestLines.clear();
  m_server.disconnectedHanging = 0;
  pointLookupAt(m_server.host());
  m_log->take();
}

void TestLocation::requestUrl_hostPathAndKey() {
  const QString key = QStringLiteral("ABCDE-FGHIJ-KLMNO-PQRST-UVWXY-Z0123");
  QCOMPARE(LocationQuery::requestUrl(QStringLiteral("https://apis.map.qq.com"), key),
           QStringLiteral("https://apis.map.qq.com/ws/location/v1/ip?key=") + key);
  QCOMPARE(LocationQuery::requestUrl(QStringLiteral("http://127.0.0.1:8080/"), key),
           QStringLiteral("http://127.0.0.1:8080/ws/location/v1/ip?key=") + key);
  QCOMPARE(LocationQuery::QUERY_CURRENT_LOCATION_URL,
           LocationQuery::requestUrl(QStringLiteral(ORVIK_LOCATION_HOST), QStringLiteral(ORVIK_LOCATION_KEY)));

  // Without the configuration member the build's endpoint is used.
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.remove(QStringLiteral("locationHost"));
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));
  QCOMPARE(LocationQuery::currentRequestUrl(), LocationQuery::QUERY_CURRENT_LOCATION_URL);
  pointLookupAt(m_server.host());
  QCOMPARE(LocationQuery::currentRequestUrl(),
           m_server.host() + QStringLiteral("/ws/location/v1/ip?key=") + QStringLiteral(ORVIK_LOCATION_KEY));
}

void TestLocation::locationInfo_missingLevelsReadEmpty() {
  const PresetModel::LocationInfo none(QVariantMap{});
  QVERIFY(none.nation.isEmpty() && none.province.isEmpty() && none.city.isEmpty() && none.district.isEmpty());
  const PresetModel::LocationInfo partial(
      QVariantMap{{"result", QVariantMap{{"ad_info", QVariantMap{{"nation", "中国"}, {"city", "北京市"}}}}}});
  QCOMPARE(partial.nation, QStringLiteral("中国"));
  QVERIFY(partial.province.isEmpty());
  QCOMPARE(partial.city, QStringLiteral("北京市"));
}

void TestLocation::query_goodReply_joinsTheFourTexts_data() {
  QTest::addColumn<QString>("district");
  QTest::addColumn<QString>("location");
  QTest::newRow("with district") << "南山区"
                                 << "中国广东省深圳市南山区";
  QTest::newRow("empty district") << ""
                                  << "中国广东省深圳市";
}

void TestLocation::query_goodReply_joinsTheFourTexts() {
  QFETCH(QString, district);
  QFETCH(QString, location);
  m_server.body = reply(district);

  QCOMPARE(PresetModel::instance()->queryLocation(), location);

  QCOMPARE(m_server.requestLines.size(), 1);
  QCOMPARE(m_server.requestLines.first(), QByteArray("GET /ws/location/v1/ip?key=" ORVIK_LOCATION_KEY " HTTP/1.1"));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Location: ") + location), 1);
}

void TestLocation::query_nonZeroStatus_returnsItsMessage() {
  m_server.body = QStringLiteral(R"({"status":311,"message":"key格式错误"})").toUtf8();
  QCOMPARE(PresetModel::instance()->queryLocation(), QStringLiteral("key格式错误"));
  QCOMPARE(LogRecorder::countFrom(m_log->take(), QStringLiteral("queryLocation")), 0);
}

void TestLocation::query_bodyNotJsonOrWithoutStatus_returnsEmpty_data() {
  QTest::addColumn<QByteArray>("body");
  QTest::newRow("HTML") << QByteArray("<html><body>portal login</body></html>");
  QTest::newRow("empty body") << QByteArray();
  QTest::newRow("JSON array") << QByteArray("[1,2,3]");
  QTest::newRow("no status") << QByteArray(R"({"message":"hello"})");
}

void TestLocation::query_bodyNotJsonOrWithoutStatus_returnsEmpty() {
  QFETCH(QByteArray, body);
  m_server.body = body;
  QCOMPARE(PresetModel::instance()->queryLocation(), QString());
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Location: ")), 1);
}

void TestLocation::query_httpError_returnsHint() {
  m_server.status = 500;
  m_server.body = reply(QStringLiteral("南山区"));
  QCOMPARE(PresetModel::instance()->queryLocation(), kNoNetwork);
  const QStringList lines = m_log->take();
  QCOMPARE(LogRecorder::countFrom(lines, QStringLiteral("queryLocation")), 1);
  QVERIFY(lines.filter(QStringLiteral("] - Error: ")).size() == 1);
}

void TestLocation::query_connectionRefused_returnsHint() {
  QTcpServer closed;
  QVERIFY(closed.listen(QHostAddress::LocalHost));
  const quint16 port = closed.serverPort();
  closed.close();
  pointLookupAt(QStringLiteral("http://127.0.0.1:%1").arg(port));

  QCOMPARE(PresetModel::instance()->queryLocation(), kNoNetwork);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Error: Connection refused")), 1);
}

void TestLocation::query_silentServer_givesUpAfterFiveSecondsAndAborts() {
  m_server.hangCount = 1;
  m_server.body = reply(QStringLiteral("南山区"));

  // The wait runs a local event loop: timers keep running, and a second lookup
  // made meanwhile has a manager of its own and completes on its own.
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, [&ticks]() { ++ticks; });
  ticker.start(100);
  QString nested;
  QTimer::singleShot(200, [&nested]() { nested = PresetModel::instance()->queryLocation(); });

  QElapsedTimer clock;
  clock.start();
  const QString result = PresetModel::instance()->queryLocation();
  const qint64 elapsedMs = clock.elapsed();

  QCOMPARE(result, kNoNetwork);
  QVERIFY2(elapsedMs >= PresetModel::kLocationTimeoutMs - 50, qPrintable(QString::number(elapsedMs)));
  QVERIFY2(elapsedMs < PresetModel::kLocationTimeoutMs + 2000, qPrintable(QString::number(elapsedMs)));
  QVERIFY(ticks >= 20);
  QCOMPARE(nested, QStringLiteral("中国广东省深圳市南山区"));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Error: Operation canceled")), 1);
  // The aborted request closes its connection.
  QTRY_COMPARE(m_server.disconnectedHanging, 1);
}

ORVIK_TEST_MAIN(TestLocation)
#include "tst_location.moc"
