#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "exchange/ExchangeFile.h"
#include "hostile/RawServer.h"

namespace trawlix::cli {
namespace {

// Would redraw the screen, set the clipboard, retitle the window or overwrite a line.
const std::string kInjections[] = {
    "\x1b[2J\x1b[H",
    "\x1b]52;c;cm0gLXJmIH4=\x07",
    "\x1b]0;owned\x1b\\",
    "\r\x1b[K",
    "\xc2\x9b"
    "31m",
};

bool HasControls(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      return true;
    }
  }
  return false;
}

class TerminalOutput : public testing::CliTest {};

TEST_F(TerminalOutput, TextsFromAnExchangeFileReachTheTerminalWithoutControls) {
  exchange::ExchangeHeader header;
  header.description = "Seeds" + kInjections[0] + " & more";
  header.name = "Ann" + kInjections[2];
  std::vector<exchange::ImportedProject> projects;
  for (const std::string& injection : kInjections) {
    exchange::ImportedProject& p = projects.emplace_back();
    p.title = "Beach" + injection + std::to_string(projects.size());
    p.category = "Travel" + injection;
    p.url = "http://a.example/" + injection;
    p.jpeg = true;
  }
  const std::string file = (dir_ / "hostile.txexport").string();
  std::string error;
  ASSERT_TRUE(exchange::WriteExchangeFile(file, header, projects, {}, error)) << error;

  // Listing the file, importing it and listing what was imported: the file's texts are
  // shown, their controls are not, on either stream.
  const std::pair<std::vector<std::string>, std::string> commands[] = {
      {{"import", file, "--list"}, "Beach"},
      {{"import", file, "--use-file-categories"}, "Beach"},
      {{"projects"}, "Beach"},
      {{"categories"}, "Travel"},
  };
  for (const auto& [command, shown] : commands) {
    ASSERT_EQ(Run(command), 0) << command[0] << ": " << err_;
    EXPECT_FALSE(HasControls(out_)) << command[0] << ": " << out_;
    EXPECT_FALSE(HasControls(err_)) << command[0] << ": " << err_;
    EXPECT_TRUE(OutHas(shown)) << command[0] << ": " << out_;
  }
  ASSERT_EQ(Run({"import", file, "--list"}), 0);
  EXPECT_TRUE(OutHas("Seeds & more")) << out_;
}

// Puts a pseudo-terminal on the error stream while it lives, so that the tool prints as it
// does to a person: its progress line and failure lines go out unfiltered but for what it
// cleans itself.
class TerminalOnStderr {
 public:
  TerminalOnStderr() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master_);
    ::unlockpt(master_);
    const int terminal = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    saved_ = ::dup(STDERR_FILENO);
    ::dup2(terminal, STDERR_FILENO);
    ::close(terminal);
  }
  ~TerminalOnStderr() {
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    ::close(master_);
  }
  TerminalOnStderr(const TerminalOnStderr&) = delete;
  TerminalOnStderr& operator=(const TerminalOnStderr&) = delete;

 private:
  int master_ = -1;
  int saved_ = -1;
};

TEST_F(TerminalOutput, AServersStatusLineReachesTheTerminalWithoutControls) {
  trawlix::testing::RawServer server("HTTP/1.1 404 " + kInjections[1] + kInjections[2] +
                                     "\x1b[31mGone\r\nContent-Length: 0\r\n\r\n");
  ASSERT_EQ(Run({"project", "add", "--title", "Served", "--url", server.URL("/gallery/"),
                 "--save-to", (dir_ / "Served").string()}),
            0)
      << err_;
  {
    const TerminalOnStderr terminal;
    Run({"scan", "Served"});
  }
  EXPECT_TRUE(ErrHas("HTTP 404")) << err_;
  std::string text = err_;
  // The tool's own progress line: a carriage return and "erase to the end of the line".
  for (const std::string own : {"\r", "\x1b[K"})
    for (std::size_t at; (at = text.find(own)) != std::string::npos;) text.erase(at, own.size());
  EXPECT_FALSE(HasControls(text)) << err_;
}

}  // namespace
}  // namespace trawlix::cli
