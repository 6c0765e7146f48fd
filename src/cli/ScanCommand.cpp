// The scan command: runs a project's scan (or a multi-link scan of its links) to the end.
#include <signal.h>

#include <QCoreApplication>
#include <QTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/Lookup.h"
#include "cli/ProgressLine.h"
#include "cli/RecordOutput.h"
#include "cli/TerminalTextFilter.h"
#include "frontend/QtUiThread.h"
#include "frontend/Rendering.h"
#include "operations/ProjectOperations.h"
#include "operations/ScanPreferences.h"
#include "scan/engine/ScanController.h"
#include "scan/engine/ScanTexts.h"
#include "storage/ProjectRendering.h"

namespace trawlix::cli {

namespace {

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
  gInterrupted = true;
}

// Ctrl+C, a termination request and a closed terminal ask the scan to stop, as the Stop
// button does, so that it ends with its history row; a second one ends the program.
class InterruptGuard {
 public:
  InterruptGuard() {
    gInterrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i)
      sigaction(kSignals[i], &action, &previous_[i]);
  }
  ~InterruptGuard() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
      sigaction(kSignals[i], &previous_[i], nullptr);
  }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
  std::array<struct sigaction, 3> previous_{};
};

// Progress on the error stream, a few times a second at most, and each failure on a line of
// its own above it.
class ProgressPrinter : public ScanObserver {
 public:
  explicit ProgressPrinter(CliContext& context)
      : line_(context, std::chrono::milliseconds(300), std::chrono::milliseconds(300)) {}

  void OnProgress(const ScanProgress& progress) override {
    // Status texts are labels, where "&&" stands for one ampersand.
    pageLine_ = ReplacedAll(PageLineText(progress), "&&", "&");
    photoLine_ = PhotoLineText(progress);
    Print(false);
  }
  void OnFailure(const ScanFailure& failure) override {
    // The reason may hold a server's own words (its status line); each part is cleaned on
    // its own, so that a sequence left open in the address cannot swallow the reason.
    line_.Say((failure.page ? "page " : "photo ") + TerminalTextFilter::Clean(failure.url) + ": " +
              TerminalTextFilter::Clean(failure.reason));
    if (failures_.size() < kFailuresKept) failures_.push_back(failure);
    ++failureCount_;
  }
  // The first failures, for the report; a scan of a million pages may fail on all of them.
  const std::vector<ScanFailure>& Failures() const { return failures_; }
  std::size_t FailureCount() const { return failureCount_; }
  void OnLinkStarted(const std::string& text) override { line_.Say(text); }
  void OnScanEnded(const std::string&) override {
    Print(true);
    line_.Finish();
    ended_ = true;
    QCoreApplication::exit(0);
  }
  bool Ended() const { return ended_; }

 private:
  void Print(bool force) {
    std::string text = pageLine_;
    if (!photoLine_.empty()) text += (text.empty() ? "" : "  |  ") + photoLine_;
    line_.Show(text, force);
  }

  ProgressLine line_;
  std::string pageLine_;
  std::string photoLine_;
  bool ended_ = false;
  static constexpr std::size_t kFailuresKept = 10'000;
  std::vector<ScanFailure> failures_;
  std::size_t failureCount_ = 0;
};

// The links named by --links: "all" or ids separated by commas.
std::optional<std::vector<int>> LinkIds(CliContext& context, const ProjectsRecord& project,
                                        const std::string& value) {
  std::vector<int> ids;
  if (EqualsNoCase(Trim(value), "all")) {
    const auto links = LoadProjectLinks(context.session(), project.id);
    if (!links) {
      context.Fail("the project links could not be read");
      return std::nullopt;
    }
    for (const auto& link : *links) ids.push_back(link.id);
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
    context.Fail("the project '" + project.title + "' has no links to scan");
    return std::nullopt;
  }
  return ids;
}

JsonObject CountsToJson(const ScanCounts& c) {
  return {{"pagesFound", c.pagesFound},           {"pagesScanned", c.pagesScanned},
          {"pagesRendered", c.pagesRendered},     {"photosFound", c.photosFound},
          {"photosProcessed", c.photosProcessed}, {"photosSaved", c.photosSaved},
          {"photosSkipped", c.photosSkipped},     {"bytes", c.bytes},
          {"transferSeconds", c.seconds},         {"pagesFailed", c.pagesFailed},
          {"photosFailed", c.photosFailed}};
}

void WriteJsonReport(std::ostream& out, const ScanController& controller,
                     const std::vector<ScanFailure>& failures, std::size_t failureCount) {
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
  out << ",\"failures\":";
  std::vector<JsonObject> failed;
  for (const ScanFailure& failure : failures) {
    failed.push_back({{"kind", std::string(failure.page ? "page" : "photo")},
                      {"url", failure.url},
                      {"reason", failure.reason}});
  }
  WriteJsonArray(out, failed);
  if (failureCount > failures.size())
    out << ",\"failuresLeftOut\":" << failureCount - failures.size();
  out << ",\"results\":" << JsonQuote(controller.LastResultsText()) << "}\n";
}

// Qt needs its application object for the event loop; the command makes one when the
// program has none, able to render pages when the scan may.
std::unique_ptr<QCoreApplication> EnsureApplication(bool render) {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  return MakeCommandApplication(render);
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
  ScanOptions options = CurrentScanOptions(context.session());
  if (const auto connections = args.Value("--connections")) {
    const std::optional<int> count = ParseNumber(Trim(*connections));
    if (!count || *count < 1 || *count > kMostConnectionsPerHost) {
      return context.Fail("--connections takes a number from 1 to " +
                          std::to_string(kMostConnectionsPerHost) + ", not '" + *connections + "'");
    }
    options.web.connectionsPerHost = *count;
  }
  if (const auto cookies = args.Value("--cookies")) options.cookiesFile = Trim(*cookies);
  if (args.Has("--all")) options.skipRemembered = false;
  if (const auto render = args.Value("--render")) {
    options.render = ParseRenderMode(Trim(*render));
    if (!options.render)
      return context.Fail("--render takes auto, always or never, not '" + *render + "'");
  }
  const bool resume = args.Has("--resume");
  if (resume && linkIds)
    return context.Fail("--resume goes on with the links it had; leave out --links");

  const RenderMode render =
      options.render.value_or(LoadRenderMode(context.session().databasePath(), project->id));
  const auto application = EnsureApplication(render != RenderMode::Never);
  // Made before the controller, so that it outlives the scan's requests.
  const std::unique_ptr<PageRenderer> renderer =
      render == RenderMode::Never ? nullptr : MakePageRenderer();
  QtUiThread ui;
  ProgressPrinter progress(context);
  ScanController controller(ui, context.messages(), progress);
  controller.SetRenderer(renderer.get());
  InterruptGuard interrupt;
  const bool started = resume    ? controller.ResumeScan(*project, options)
                       : linkIds ? controller.StartMultiLinkScan(*project, options, *linkIds)
                                 : controller.StartScan(*project, options);
  if (!started) return context.Fail("the scan of '" + project->title + "' did not start");

  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (gInterrupted.exchange(false)) controller.Stop();
  });
  watch.start(100);
  if (!progress.Ended()) QCoreApplication::exec();
  watch.stop();

  const std::vector<ScanFailure>& failures = progress.Failures();
  const std::size_t failureCount = progress.FailureCount();
  if (args.Has("--json")) {
    WriteJsonReport(context.out(), controller, failures, failureCount);
  } else {
    context.out() << controller.LastResultsText() << '\n';
  }
  if (failureCount > 0) {
    context.err() << failureCount << (failureCount == 1 ? " address" : " addresses")
                  << " could not be downloaded.\n";
  }
  if (!controller.SaveProblem().empty()) return context.Fail(controller.SaveProblem());
  const ScanCounts counts =
      controller.IsMultiLink() ? controller.RunningTotals() : controller.Counters();
  // Pages given again unchanged and photos already there count as fetched.
  const bool nothingFetched =
      !failures.empty() && counts.bytes == 0 && counts.pagesScanned <= counts.pagesFailed;
  return controller.StartPageFailed() || nothingFetched ? kExitNothingFetched : kExitOk;
}

}  // namespace

void RegisterScanCommands(CommandRegistry& registry) {
  registry.Add({"scan",
                "ID|TITLE [--links all|ID,ID] [--connections N] [--cookies FILE] "
                "[--all | --resume] [--render auto|always|never] [--json]",
                "Harvest a project's photos; Ctrl+C stops the scan as the Stop button does. "
                "Photos saved before are not fetched again unless --all is given; --resume goes "
                "on with a scan that was stopped or killed. --cookies sends the cookies of a "
                "browser's cookies.txt instead of the cookiesFile setting's; --render overrides "
                "the project's choice of rendering pages with scripts for this scan.",
                {{"--links", true, "all|ID,ID"},
                 {"--connections", true, "N"},
                 {"--cookies", true, "FILE"},
                 {"--all", false, ""},
                 {"--resume", false, ""},
                 {"--render", true, "auto|always|never"},
                 JsonOption()},
                1,
                1,
                RunScan});
}

}  // namespace trawlix::cli
