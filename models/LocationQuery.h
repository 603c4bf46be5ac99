#pragma once

#include <QString>

// Where the IP-location lookup sends its request. Host and key are values of the
// build (ORVIK_LOCATION_HOST, ORVIK_LOCATION_KEY); the member "locationHost" of the
// system configuration, absent normally, replaces the host (a test server, a proxy).
namespace LocationQuery {

// The complete request URL of the build: host + "/ws/location/v1/ip?key=" + key.
extern const QString QUERY_CURRENT_LOCATION_URL;

// The request URL for a host such as "https://apis.map.qq.com"; the key is sent verbatim.
QString requestUrl(const QString &host, const QString &key);

// QUERY_CURRENT_LOCATION_URL, or the same request to the configured host.
QString currentRequestUrl();

}  // namespace LocationQuery
