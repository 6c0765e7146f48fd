#pragma once

#include <optional>
#include <string>

#include "operations/DataSession.h"
#include "scan/engine/ScanOptions.h"

namespace trawlix {

// Scan options the settings file has no room for, kept in the user's profile.
inline constexpr int kDefaultConnectionsPerHost = 6;
inline constexpr int kMostConnectionsPerHost = 16;

// Transfers in flight to one host; 1 fetches one address after the other.
int ConnectionsPerHost();
void SetConnectionsPerHost(int connections);

// A scan of a public site never reaches this computer or the local network (default on).
bool KeepScansOffLocalNetwork();
void SetKeepScansOffLocalNetwork(bool keep);
// An https page may redirect to plain http (default off).
bool AllowHttpsToHttp();
void SetAllowHttpsToHttp(bool allow);

// robots.txt is honoured for pages and photos (default on).
bool HonourRobots();
void SetHonourRobots(bool honour);
// A pause between requests to one host, in milliseconds (default 0).
inline constexpr int kLongestHostPauseMs = 60'000;
int HostPauseMs();
void SetHostPauseMs(int milliseconds);

// Photos saved by earlier scans are not fetched again, nor saved again under another
// address, and unchanged pages are not fetched again (default on).
bool SkipRememberedPhotos();
void SetSkipRememberedPhotos(bool skip);

// A browser's cookies.txt that scans read for their cookies when they start (default none,
// an empty path).
std::string CookiesFile();
void SetCookiesFile(const std::string& path);
// Why a scan could not use `path` as its cookies file, in a sentence; nothing when it can or
// the path is empty.
std::optional<std::string> CookiesFileProblem(const std::string& path);

// Whether the project has a scan that was stopped, killed or crashed, to resume.
bool HasUnfinishedScan(const DataSession& session, int projectId);

// The options of a scan started now: the settings file's plus the profile's.
ScanOptions CurrentScanOptions(const DataSession& session);

}  // namespace trawlix
