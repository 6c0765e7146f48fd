// The scan command: runs a project's scan (or a multi-link scan of its links) to the end.
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/Lookup.h"
#include "cli/RecordOutput.h"
#include "cli/TerminalTextFilter.h"
#include "frontend/QtUiThread.h"
#include "operations/ProjectOperations.h"
#include "scan/ScanController.h"
#include "scan/ScanTexts.h"

namespace trawlix::cli {

namespace {

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
  gInterrupted = true;
}

// Ctrl+C asks the scan to stop, as the Stop button does; a second one ends the program.
class InterruptGuard {
 public:
  InterruptGuard() {
    gInterrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptGuard() { sigaction(SIGINT, &previous_, nullptr); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction previous_ {};
};

// Progress on the error stream: a line rewritten in place on a terminal, otherwise plain
// lines, a few per second at most.
class ProgressPrinter : public ScanObserver {
 public:
  ProgressPrinter(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

  void OnProgress(const ScanProgress& progress) override {
    // Status texts are labels, where "&&" stands for one ampersand.
    pageLine_ = ReplacedAll(PageLineText(progress), "&&", "&");
    photoLine_ = PhotoLineText(progress);
    Print(false);
  }
  void OnLinkStarted(const std::string& text) override {
    Finish();
    err_ << TerminalTextFilter::Clean(text) << '\n';
  }
  void OnScanEnded(const std::string&) override {
    Print(true);
    Finish();
    ended_ = true;
    QCoreApplication::exit(0);
  }
  bool Ended() const { return ended_; }

 private:
  void Print(bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - last_ < std::chrono::milliseconds(300)) return;
    std::string text = pageLine_;
    if (!photoLine_.empty()) text += (text.empty() ? "" : "  |  ") + photoLine_;
    if (text.empty() || text == printed_) return;
    last_ = now;
    printed_ = text;
    if (terminal_) {
      // Page addresses come from the web: only our own controls may reach the terminal.
      err_ << '\r' << TerminalTextFilter::Clean(text) << "\x1b[K" << std::flush;
      open_ = true;
    } else {
      err_ << text << '\n';
    }
  }
  void Finish() {
    if (open_) err_ << '\n';
    open_ = false;
  }

  std::ostream& err_;
  const bool terminal_;
  std::string pageLine_;
  std::string photoLine_;
  std::string printed_;
  std::chrono::steady_clock::time_point last_{};
  bool open_ = false;
  bool ended_ = false;
};

// The links named by --links: "all" or ids separated by commas.
std::optional<std::vector<int>> LinkIds(CliContext& context, const CProjectsRecord& project,
                                        const std::string& value) {
  std::vector<int> ids;
  if (EqualsNoCase(Trim(value), "all")) {
    const auto links = LoadProjectLinks(context.session(), project.m_nId);
    if (!links) {
      context.Fail("the project links could not be read");
      return std::nullopt;
    }
    for (const auto& link : *links) ids.push_back(link.m_nId);
  } else {
    std::vector<std::string> parts;
    std::string rest = value;
    for (std::size_t comma; (comma = rest.find(',')) != std::string::npos;) {
      parts.push_back(rest.substr(0, comma));
      rest.erase(0, comma + 1);
    }
    parts.push_back(rest);
    for (const std::string& part : parts) {
      const auto id = ParseId(Trim(part));
      if (!id) {
        context.Fail("--links takes 'all' or link ids separated by commas, not '" + value + "'");
        return std::nullopt;
      }
      ids.push_back(*id);
    }
  }
  if (ids.empty()) {
    context.Fail("the project '" + project.m_lpszTitle + "' has no links to scan");
    return std::nullopt;
  }
  return ids;
}

JsonObject CountsToJson(const ScanCounts& c) {
  return {{"pagesFound", c.pagesFound},
          {"pagesScanned", c.pagesScanned},
          {"photosFound", c.photosFound},
          {"photosProcessed", c.photosProcessed},
          {"photosSaved", c.photosSaved},
          {"photosSkipped", c.photosSkipped},
          {"bytes", c.bytes},
          {"transferSeconds", c.seconds}};
}

void WriteJsonReport(std::ostream& out, const ScanController& controller) {
  const bool multi = controller.IsMultiLink();
  out << "{\"counters\":";
  WriteJsonObject(out, CountsToJson(controller.Counters()));
  if (multi) {
    out << ",\"totals\":";
    WriteJsonObject(out, CountsToJson(controller.RunningTotals()));
  }
  out << ",\"history\":";
  std::vector<JsonObject> rows;
  for (const auto& row : controller.HistoryRows()) rows.push_back(RecordToJson(row));
  WriteJsonArray(out, rows);
  out << ",\"results\":" << JsonQuote(controller.LastResultsText()) << "}\n";
}

// Qt needs its application object for the event loop; the command makes one when the
// program has none.
std::unique_ptr<QCoreApplication> EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  static int argc = 1;
  static char name[] = "trawlix-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QCoreApplication>(argc, argv);
}

int RunScan(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto project = FindProject(context, args.positionals[0]);
  if (!project) return kExitFailure;
  std::optional<std::vector<int>> linkIds;
  if (const auto links = args.Value("--links")) {
    linkIds = LinkIds(context, *project, *links);
    if (!linkIds) return kExitFailure;
  }
  const ScanOptions options = ScanOptionsFromSettings(context.settings());

  const auto application = EnsureApplication();
  QtUiThread ui;
  const bool terminal = isatty(STDERR_FILENO) == 1;
  ProgressPrinter progress(terminal ? context.terminalErr() : context.err(), terminal);
  ScanController controller(ui, context.messages(), progress);
  InterruptGuard interrupt;
  const bool started = linkIds ? controller.StartMultiLinkScan(*project, options, *linkIds)
                               : controller.StartScan(*project, options);
  if (!started) return context.Fail("the scan of '" + project->m_lpszTitle + "' did not start");

  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (gInterrupted.exchange(false)) controller.Stop();
  });
  watch.start(100);
  if (!progress.Ended()) QCoreApplication::exec();
  watch.stop();

  if (args.Has("--json")) {
    WriteJsonReport(context.out(), controller);
  } else {
    context.out() << controller.LastResultsText() << '\n';
  }
  return kExitOk;
}

}  // namespace

void RegisterScanCommands(CommandRegistry& registry) {
  registry.Add({"scan",
                "ID|TITLE [--links all|ID,ID] [--json]",
                "Harvest a project's photos; Ctrl+C stops the scan as the Stop button does.",
                {{"--links", true, "all|ID,ID"}, JsonOption()},
                1,
                1,
                RunScan});
}

}  // namespace trawlix::cli
