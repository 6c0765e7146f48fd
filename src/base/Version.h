#pragma once

#include <string>

namespace trawlix {

// The program's version from the build, "2.0.9300.178": release 2.0, build 9300.178. The
// splash, the about box, the user agent and the package all show this one.
std::string ProgramVersion();
// "2.0": the release, as the user agent and the about box name it.
std::string ReleaseNumber();
// "9300.178": the build within the release ("0.0" when the version has none).
std::string BuildNumber();

}  // namespace trawlix
