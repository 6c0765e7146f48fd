#pragma once

#include <cstdint>
#include <string>

#include "scan/PhotoLinkTest.h"
#include "scan/ScanHost.h"
#include "scan/ScanThreadBlock.h"

namespace trawlix {

class CXWebFile;
class LinkReceiver;

// What the page scanner works with, copied when it starts.
struct PageJob {
  PhotoFormats formats;  // the project's wanted formats classify the links
  std::string referer;   // scheme and host of the start URL
  int priority = 0;
  std::uint64_t workerId = 0;
};

// The page-scanner thread: asks the host for pages until none is left or it is asked to stop,
// downloads each, sends its links to `links` and has the photo processor started when photos
// wait. Never lets an error escape; ends by arming timer 1032 (stopped) or 1034 (no page
// left) and marking the block ended.
void PageScannerThread(const PageJob& job, ScanHost& host, LinkReceiver& links,
                       ScanThreadBlock& block, CXWebFile& web);

}  // namespace trawlix
