#pragma once

#include <string>

#include "scan/engine/ScanScope.h"
#include "scan/markup/URLResolver.h"

namespace trawlix::testing_scope {

inline constexpr PhotoFormats kJpegAndPng{true, true, false, false, false};

// A scope as the controller sets it up at scan start.
inline ScanScope MakeScope(const std::string& startURL, PhotoFormats formats = kJpegAndPng) {
  ScanScope scope;
  scope.projectURL = startURL;
  scope.formats = formats;
  SetScanStart(scope, startURL);
  return scope;
}

}  // namespace trawlix::testing_scope
