#include "operations/ScanPreferences.h"

#include <QSettings>
#include <algorithm>

#include "storage/RememberedData.h"

namespace trawlix {

namespace {

const char* const kConnectionsKey = "Scanning/ConnectionsPerHost";
const char* const kOffLocalNetworkKey = "Scanning/KeepOffLocalNetwork";
const char* const kHttpsToHttpKey = "Scanning/AllowHttpsToHttp";
const char* const kRobotsKey = "Scanning/HonourRobots";
const char* const kHostPauseKey = "Scanning/HostPauseMs";
const char* const kSkipRememberedKey = "Scanning/SkipRememberedPhotos";

QSettings Profile() {
  return QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Trawlix() PRO"));
}

}  // namespace

int ConnectionsPerHost() {
  bool ok = false;
  const int stored = Profile().value(kConnectionsKey, kDefaultConnectionsPerHost).toInt(&ok);
  return ok ? std::clamp(stored, 1, kMostConnectionsPerHost) : kDefaultConnectionsPerHost;
}

void SetConnectionsPerHost(int connections) {
  Profile().setValue(kConnectionsKey, std::clamp(connections, 1, kMostConnectionsPerHost));
}

bool KeepScansOffLocalNetwork() {
  return Profile().value(kOffLocalNetworkKey, true).toBool();
}

void SetKeepScansOffLocalNetwork(bool keep) {
  Profile().setValue(kOffLocalNetworkKey, keep);
}

bool AllowHttpsToHttp() {
  return Profile().value(kHttpsToHttpKey, false).toBool();
}

void SetAllowHttpsToHttp(bool allow) {
  Profile().setValue(kHttpsToHttpKey, allow);
}

bool HonourRobots() {
  return Profile().value(kRobotsKey, true).toBool();
}

void SetHonourRobots(bool honour) {
  Profile().setValue(kRobotsKey, honour);
}

int HostPauseMs() {
  bool ok = false;
  const int stored = Profile().value(kHostPauseKey, 0).toInt(&ok);
  return ok ? std::clamp(stored, 0, kLongestHostPauseMs) : 0;
}

void SetHostPauseMs(int milliseconds) {
  Profile().setValue(kHostPauseKey, std::clamp(milliseconds, 0, kLongestHostPauseMs));
}

bool SkipRememberedPhotos() {
  return Profile().value(kSkipRememberedKey, true).toBool();
}

void SetSkipRememberedPhotos(bool skip) {
  Profile().setValue(kSkipRememberedKey, skip);
}

bool HasUnfinishedScan(const DataSession& session, int projectId) {
  return LoadUnfinishedScan(session.databasePath(), projectId).has_value();
}

ScanOptions CurrentScanOptions(const DataSession& session) {
  ScanOptions options = ScanOptionsFromSettings(session.settings());
  options.web.connectionsPerHost = ConnectionsPerHost();
  options.web.allowHttpsToHttp = AllowHttpsToHttp();
  options.keepOffLocalNetwork = KeepScansOffLocalNetwork();
  options.honourRobots = HonourRobots();
  options.hostPause = std::chrono::milliseconds(HostPauseMs());
  options.skipRemembered = SkipRememberedPhotos();
  return options;
}

}  // namespace trawlix
