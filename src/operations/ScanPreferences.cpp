#include "operations/ScanPreferences.h"

#include <QSettings>
#include <algorithm>

namespace trawlix {

namespace {

const char* const kConnectionsKey = "Scanning/ConnectionsPerHost";

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

ScanOptions CurrentScanOptions(const DataSession& session) {
  ScanOptions options = ScanOptionsFromSettings(session.settings());
  options.web.connectionsPerHost = ConnectionsPerHost();
  return options;
}

}  // namespace trawlix
