// writeloop: rewrites the system configuration and saves and removes presets
// through the application's own code, forever, announcing each step on
// standard output before and after it. A test kills it (SIGKILL) at random
// moments and checks that every file it left is a complete old or new one.
//
//   begin <n>     generation n starts; the system configuration gets "writeLoopGeneration": n
//   config <n>    that write is done
//   preset <n>    the preset "loop-<n>" (file and index entry) is saved
//   removed <k>   the preset "loop-<k>" is removed again (index entry and file)

#include "LoggerService.h"
#include "PresetModel.h"
#include "SystemConfig.h"
#include "UserConfig.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointF>
#include <QVector>
#include <cstdio>

namespace {

constexpr int kPoints = 1000;
constexpr int kKeptPresets = 4;

void announce(const char *what, qint64 generation) {
  std::printf("%s %lld\n", what, static_cast<long long>(generation));
  std::fflush(stdout);
}

QVector<QPointF> sweep(qint64 generation) {
  QVector<QPointF> points;
  points.reserve(kPoints);
  for (int i = 0; i < kPoints; ++i) points.append(QPointF(450.0 + i * 0.5, -100.0 + double((i + generation) % 60)));
  return points;
}

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication application(argc, argv);
  LoggerService::instance().init();
  SystemConfig::instance()->init();
  UserConfig::instance()->init();
  PresetModel *presets = PresetModel::instance();

  // A sizeable member, so that a kill often lands in the middle of a write.
  QJsonArray padding;
  for (int i = 0; i < 2000; ++i) padding.append(QStringLiteral("padding-%1").arg(i));

  // A run goes on from the generation the last one completed (or was killed in).
  const qint64 first =
      qint64(SystemConfig::instance()->readConfigInfo().value(QStringLiteral("writeLoopGeneration")).toDouble()) + 1;
  for (qint64 generation = first;; ++generation) {
    announce("begin", generation);
    QJsonObject config = SystemConfig::instance()->readConfigInfo();
    config.insert(QStringLiteral("writeLoopGeneration"), generation);
    config.insert(QStringLiteral("writeLoopPadding"), padding);
    if (!SystemConfig::instance()->writeConfigToFile(config)) return 1;
    announce("config", generation);

    const QString name = QStringLiteral("loop-%1").arg(generation);
    if (presets->save(name, QStringLiteral("written by writeloop"), QStringLiteral("nowhere"), QStringLiteral("450"),
                      QStringLiteral("950"), QStringLiteral("-110"), QStringLiteral("0"),
                      sweep(generation)) != PresetModel::NO_ERROR)
      return 1;
    announce("preset", generation);

    for (;;) {
      const QJsonArray index = UserConfig::instance()->readConfigInfo().value(QStringLiteral("presets")).toArray();
      if (index.size() <= kKeptPresets) break;
      const QString oldest = index.at(0).toObject().value(QStringLiteral("name")).toString();
      if (!presets->remove(0)) return 1;
      std::printf("removed %s\n", qPrintable(oldest));
      std::fflush(stdout);
    }
  }
}
