#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HandOver.h"
#include "app/StartArguments.h"

namespace trawlix::app {
namespace {

struct WakeUpCase {
  const char* name;
  std::string text;
  std::string importPath;
};

// What a running copy makes of a handed-over text.
TEST(HandOver, WakeUpTextNamesAnExportFileOrNothing) {
  const std::vector<WakeUpCase> cases = {
      {"empty text: only comes to the front", "", ""},
      {"no export file", "/home/ann/photo.jpg", ""},
      {"plain path", "/home/ann/Gallery.txexport", "/home/ann/Gallery.txexport"},
      {"upper-case marker, letter case kept", "/home/Ann/Gallery.TXEXPORT",
       "/home/Ann/Gallery.TXEXPORT"},
      {"quoted path with spaces", "\"/home/ann/My Gallery.txexport\"",
       "/home/ann/My Gallery.txexport"},
      {"blanks trimmed", "  \t/tmp/a.txexport \n", "/tmp/a.txexport"},
      {"marker in the middle of a name", "/tmp/a.txexport.bak", "/tmp/a.txexport.bak"},
      {"marker at the start is no name", ".txexport", ""},
      {"after the quoted program path",
       "\"C:\\Program Files\\Trawlix.EXE\" \"D:\\Shared\\Beach Set.TxExport\"",
       "D:\\Shared\\Beach Set.TxExport"},
      {"program path without arguments", "\"C:\\Trawlix.exe\"", ""},
      {"every double quote removed", "/tmp/\"odd\"name.txexport", "/tmp/oddname.txexport"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImportPathFromHandOver(c.text), c.importPath) << c.name;
  }
  EXPECT_EQ(ImportPathFromArgument("/home/Ann/Set.TXEXPORT"), "/home/Ann/Set.TXEXPORT");
  EXPECT_EQ(ImportPathFromArgument("notes.txt"), "");
}

struct SecondStartCase {
  const char* name;
  std::vector<std::string> files;
  std::string workingDir;
  std::string text;
};

// What a second start sends: absolute paths, quoted when they hold a space, and nothing at all
// when the whole would not fit.
TEST(HandOver, SecondStartSendsAbsolutePathsWithinTheLimit) {
  const std::string dir = "/home/ann";
  const std::string fits = "/" + std::string(kMaxHandOverLength - 1, 'x');
  const std::string tooLong = fits + "x";
  const std::vector<SecondStartCase> cases = {
      {"no arguments", {}, dir, ""},
      {"relative path", {"Gallery.txexport"}, dir, "/home/ann/Gallery.txexport"},
      {"working folder with slash", {"a.txexport"}, "/", "/a.txexport"},
      {"absolute path kept", {"/tmp/a.txexport"}, dir, "/tmp/a.txexport"},
      {"space quoted", {"My Set.txexport"}, dir, "\"/home/ann/My Set.txexport\""},
      {"several joined", {"/a", "/b c"}, dir, "/a \"/b c\""},
      {"exactly 255 characters", {fits}, dir, fits},
      {"256 characters: nothing", {tooLong}, dir, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SecondStartText(c.files, c.workingDir), c.text) << c.name;
  }
  // A quoted path with spaces arrives whole at the running copy.
  EXPECT_EQ(ImportPathFromHandOver(SecondStartText({"My Set.txexport"}, dir)),
            "/home/ann/My Set.txexport");
}

struct ArgumentsCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string dataDir;
  bool splash;
  bool help;
  std::vector<std::string> files;
  bool failed;
};

TEST(StartArguments, OptionsAndFiles) {
  const std::vector<ArgumentsCase> cases = {
      {"nothing", {}, "", true, false, {}, false},
      {"file", {"a.txexport"}, "", true, false, {"a.txexport"}, false},
      {"every option",
       {"--nosplash", "--data-dir", "/d", "x.txexport", "y"},
       "/d",
       false,
       false,
       {"x.txexport", "y"},
       false},
      {"data dir with =", {"--data-dir=/e"}, "/e", true, false, {}, false},
      {"help", {"--help"}, "", true, true, {}, false},
      {"after -- a file", {"--", "--nosplash"}, "", true, false, {"--nosplash"}, false},
      {"data dir without value", {"--data-dir"}, "", true, false, {}, true},
      {"unknown option", {"--frobnicate"}, "", true, false, {}, true},
  };
  for (const auto& c : cases) {
    const StartArguments parsed = ParseStartArguments(c.arguments);
    EXPECT_EQ(parsed.dataDir, c.dataDir) << c.name;
    EXPECT_EQ(parsed.splash, c.splash) << c.name;
    EXPECT_EQ(parsed.help, c.help) << c.name;
    EXPECT_EQ(parsed.files, c.files) << c.name;
    EXPECT_EQ(!parsed.error.empty(), c.failed) << c.name;
  }
}

}  // namespace
}  // namespace trawlix::app
