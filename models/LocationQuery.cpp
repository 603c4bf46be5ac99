#include "LocationQuery.h"

#include "SystemConfig.h"

#include <QJsonObject>
#include <QJsonValue>

namespace LocationQuery {
namespace {

const QString kBuildHost = QStringLiteral(ORVIK_LOCATION_HOST);
const QString kBuildKey = QStringLiteral(ORVIK_LOCATION_KEY);
const QString kHostMember = QStringLiteral("locationHost");

}  // namespace

QString requestUrl(const QString &host, const QString &key) {
  QString base = host;
  while (base.endsWith(QLatin1Char('/'))) base.chop(1);
  return base + QStringLiteral("/ws/location/v1/ip?key=") + key;
}

const QString QUERY_CURRENT_LOCATION_URL = requestUrl(kBuildHost, kBuildKey);

QString currentRequestUrl() {
  const QJsonValue host = SystemConfig::instance()->readConfigInfo().value(kHostMember);
  if (host.isString() && !host.toString().isEmpty()) return requestUrl(host.toString(), kBuildKey);
  return QUERY_CURRENT_LOCATION_URL;
}

}  // namespace LocationQuery
