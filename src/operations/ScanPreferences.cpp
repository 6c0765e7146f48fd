#include "operations/ScanPreferences.h"

#include <QSettings>
#include <algorithm>

#include "scan/net/CookieJar.h"
#include "storage/RememberedData.h"

namespace trawlix {

namespace {

const char* const kConnectionsKey = "Scanning/ConnectionsPerHost";
const char* const kOffLocalNetworkKey = "Scanning/KeepOffLocalNetwork";
const char* const kHttpsToHttpKey = "Scanning/AllowHttpsToHttp";
const char* const kRobotsKey = "Scanning/HonourRobots";
const char* const kHostPauseKey = "Scanning/HostPauseMs";
const char* const kSkipRememberedKey = "Scanning/SkipRememberedPhotos";
const char* const kCookiesFileKey = "Scanning/CookiesFile";

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

std::string CookiesFile() {
  return Profile().value(kCookiesFileKey, QString()).toString().trimmed().toStdString();
}

void SetCookiesFile(const std::string& path) {
  Profile().setValue(kCookiesFileKey, QString::fromStdString(path).trimmed());
}

std::optional<std::string> CookiesFileProblem(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const std::optional<std::string> problem = CookieJar().LoadFile(path);
  if (!problem) return std::nullopt;
  return "The cookies file " + path + " cannot be used: " + *problem + ".";
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
  options.cookiesFile = CookiesFile();
  return options;
}

}  // namespace trawlix
