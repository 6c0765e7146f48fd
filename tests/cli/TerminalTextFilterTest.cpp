#include <gtest/gtest.h>

#include <sstream>

#include "cli/TerminalStreamBuf.h"
#include "cli/TerminalTextFilter.h"

namespace trawlix::cli {
namespace {

struct Row {
  const char* text;
  const char* shown;
};

const Row kRows[] = {
    {"Beach Photos\tok\n", "Beach Photos\tok\n"},
    {"Caf\xc3\xa9 \xe2\x98\x83 \xf0\x9f\x93\xb7", "Caf\xc3\xa9 \xe2\x98\x83 \xf0\x9f\x93\xb7"},
    // Clearing the screen, colours, cursor moves.
    {"a\x1b[2J\x1b[1;31mb\x1b[0m\x1b[10;20Hc", "abc"},
    // Setting the clipboard or the window title (OSC ended by BEL or by ST).
    {"x\x1b]52;c;cm0gLXJmIH4=\x07y", "xy"},
    {"x\x1b]0;owned\x1b\\y", "xy"},
    // An unended control string stops at the line's end.
    {"x\x1b]0;no end\nnext", "x\nnext"},
    // Two-byte escapes, a lone ESC at the end.
    {"a\x1b"
     "7b\x1b"
     "8c\x1b",
     "abc"},
    // Carriage return, backspace, bell, DEL and the rest of C0.
    {"safe\rEVIL\b\x07\x7f\x01\x1f!", "safeEVIL!"},
    // C1 controls as UTF-8 (CSI is U+009B) and as raw bytes.
    {"a\xc2\x9b"
     "2Jb\x9b"
     "2Jc\xc2\x85"
     "d",
     "a2Jb2Jcd"},
    // Bytes that are no UTF-8: overlong forms, surrogates, stray continuation bytes.
    {"a\xc0\xafz\xed\xa0\x80y\x80\xbfx\xf5\x80\x80\x80w", "azyxw"},
    // A character cut short by the next one.
    {"a\xe2\x98"
     "b",
     "ab"},
};

TEST(TerminalTextFilter, DropsControlsAndEscapeSequencesKeepsText) {
  for (const Row& row : kRows)
    EXPECT_EQ(TerminalTextFilter::Clean(row.text), row.shown) << row.text;
}

TEST(TerminalTextFilter, CatchesSequencesSplitAcrossWrites) {
  // A stream writes in pieces: every row cut at every point reads the same.
  for (const Row& row : kRows) {
    const std::string text = row.text;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      std::ostringstream target;
      TerminalStreamBuf buffer(target);
      std::ostream out(&buffer);
      out << text.substr(0, cut);
      out << text.substr(cut) << std::flush;
      EXPECT_EQ(target.str(), row.shown) << row.text << " cut at " << cut;
    }
  }
}

}  // namespace
}  // namespace trawlix::cli
