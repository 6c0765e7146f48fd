#pragma once

#include <string>
#include <vector>

#include "scan/markup/PhotoLinkTest.h"
#include "scan/markup/SocialNetwork.h"
#include "scan/markup/UrlParts.h"

namespace trawlix {

// The values that decide which links a scan resolves, follows and downloads. The controller
// fills it at every scan start (and every step of a multi-link scan) from the project, the
// project link being scanned and the settings, then calls SetScanStart. Only the UI thread
// touches it.
struct ScanScope {
  std::string projectURL;  // the project's URL as entered
  UrlParts start;          // the resolved start URL
  PhotoFormats formats;
  bool searchSubFolders = false;
  bool keywordMustExist = false;
  std::vector<std::string> keywords;  // parsed with ParseCommaList
  std::vector<std::string> skipList;  // files to ignore, parsed with ParseCommaList
  SocialState social;
};

}  // namespace trawlix
