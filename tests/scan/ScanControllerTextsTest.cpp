#include <gtest/gtest.h>

#include "scan/engine/ScanTexts.h"
#include "scan/store/MirroredFolder.h"

namespace trawlix {
namespace {

TEST(ScanTexts, PageProgress) {
  EXPECT_EQ(PageProgressText(0, 5), "");
  EXPECT_EQ(PageProgressText(3, 1204), "Scanning Page 3 of 1,204");
}

TEST(ScanTexts, TimerLosesLeadingZeroHours) {
  EXPECT_EQ(ShortTimerText("0:01:07"), "01:07");
  EXPECT_EQ(ShortTimerText("12:01:07"), "12:01:07");
  EXPECT_EQ(ShortTimerText("00:01"), "01");
}

TEST(ScanTexts, PhotoProgressSingleAndMultiLink) {
  EXPECT_EQ(PhotoProgressText({1234, 4, 3}, "0:00:07", false),
            "Found 1,234 Photos - Processed: 4 - Saved: 3  [00:07]");
  EXPECT_EQ(PhotoProgressText({12, 4, 3}, "1:00:07", true),
            "(Multiscan) Found 12 - Processed: 4 - Saved: 3  [1:00:07]");
  EXPECT_EQ(PhotoProgressText({12, 4, 3, 1500}, "0:00:07", false),
            "Found 12 Photos - Processed: 4 - Saved: 3 - Failed: 1,500  [00:07]");
}

TEST(ScanTexts, TransferNeedsBytesAndSeconds) {
  EXPECT_EQ(TransferText(0, 5), "");
  EXPECT_EQ(TransferText(5000, 0), "");
  EXPECT_EQ(TransferText(2048, 2), "\n\n\t2.00KB downloaded @ 1.00KB/Sec");
}

TEST(ScanTexts, ResultsOfASingleScan) {
  ScanResults r;
  r.title = "Beach";
  r.url = "http://example.test/a.php?x=1?y=2";
  r.processingTime = "0:00:09";
  r.pages = 1;
  r.processed = 1500;
  r.saved = 1200;
  r.skipped = 300;
  EXPECT_EQ(ResultsText(r, false),
            "Trawlix('Beach') scanned 1 page in the website\n"
            "'http://example.test/a.php?\nx=1?\ny=2'.\n\nProcessing time: 0:00:09\n\n"
            "Results:\n\tProcessed 1,500 Photos\n\tSaved 1,200 Photos\n\tand Skipped 300 Photos.");
  r.url = "?leading";  // a "?" at the very start is not broken
  r.pages = 0;
  EXPECT_NE(ResultsText(r, false).find("scanned 0 pages in the website\n'?leading'."),
            std::string::npos);
}

TEST(ScanTexts, ResultsOfAMultiLinkScanCarryTheTransfer) {
  ScanResults r;
  r.title = "T";
  r.processingTime = "0:01:00";
  r.pages = 2;
  r.bytes = 2048;
  r.seconds = 2;
  EXPECT_EQ(ResultsText(r, true),
            "Trawlix('T') scanned 2 pages.\n\nProcessing time: 0:01:00\n\nResults:\n\tProcessed 0 "
            "Photos\n\tSaved 0 Photos\n\tand Skipped 0 Photos.\n\n\t2.00KB downloaded @ "
            "1.00KB/Sec");
}

// Failures and a stop come after the counts, before the notes of limits reached.
TEST(ScanTexts, ResultsListTheFirstFailuresAndAStop) {
  ScanResults r;
  r.title = "T";
  r.processingTime = "0:00:01";
  r.notes = {"A note."};
  const std::string counts =
      "Trawlix('T') scanned 0 pages.\n\nProcessing time: 0:00:01\n\nResults:\n\tProcessed 0 "
      "Photos\n\tSaved 0 Photos\n\tand Skipped 0 Photos.";
  r.failed = 1;
  r.firstFailures = {{true, "http://a.test/", "connection refused"}};
  EXPECT_EQ(ResultsText(r, true), counts +
                                      "\n\nCould not download 1 page or photo:\n\thttp://a.test/ "
                                      "(connection refused)\n\nA note.");
  r.failed = 1207;
  r.stopped = true;
  EXPECT_EQ(ResultsText(r, true), counts +
                                      "\n\nCould not download 1,207 pages or photos:\n\thttp://"
                                      "a.test/ (connection refused)\n\tand 1,206 more.\n\nA "
                                      "note.\n\nThe scan was stopped before it was done.");
}

struct MirrorCase {
  const char* page;
  const char* start;
  const char* expected;
};

TEST(MirroredFolder, StaysInsideSaveTo) {
  const MirrorCase cases[] = {
      {"/gallery/", "/gallery/", "/p/Save_To"},
      {"/gallery/2011/beach/", "/gallery/", "/p/Save_To/2011/beach"},
      {"/other/x/", "/gallery/", "/p/Save_To/other/x"},
      {"/a%20b/c+d/e_f/g%2Bh/", "/", "/p/Save_To/a b/c d/e f/g h"},
      {"/gallery/../../../etc/", "/gallery/", "/p/Save_To/etc"},
      {"/../..//./x/", "/", "/p/Save_To/x"},
      {"/", "/", "/p/Save_To"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MirroredFolder("/p/Save_To/", c.page, c.start), c.expected) << c.page;
}

}  // namespace
}  // namespace trawlix
