// Batch photo tools over a project's photos: thumbnails, resize/convert, rename, grayscale.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "base/Path.h"
#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/Lookup.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalTextFilter.h"
#include "imaging/tools/BatchJob.h"
#include "imaging/tools/BatchRenamer.h"
#include "imaging/tools/GrayscaleTool.h"
#include "imaging/tools/ResizeTool.h"
#include "imaging/tools/ThumbnailTool.h"
#include "operations/GrayscaleRun.h"
#include "operations/PhotoToolSettings.h"
#include "platform/FolderLock.h"
#include "settings/Settings.h"

namespace trawlix::cli {

namespace {

std::optional<int> PositiveNumber(CliContext& context, const ParsedArgs& args, const char* option) {
  const auto text = args.Value(option);
  if (!text) return std::nullopt;
  const std::optional<int> value = ParseId(*text);
  if (!value || *value <= 0) {
    context.Fail(std::string(option) + " takes a number of pixels, not '" + *text + "'");
    return 0;
  }
  return value;
}

// "jpg", "png", "bmp", "tif" or "gif" (also "jpeg" and "tiff"); None otherwise.
PhotoFormat FormatNamed(const std::string& name) {
  const std::string lower = ToLowerAscii(name);
  for (const char* known : {"jpg", "jpeg", "png", "bmp", "tif", "tiff", "gif"})
    if (lower == known) return PhotoFormatFromPath("x." + lower);
  return PhotoFormat::None;
}

std::optional<PhotoFormat> FormatOption(CliContext& context, const ParsedArgs& args,
                                        const char* option, int fallback) {
  const auto text = args.Value(option);
  if (!text) {
    const PhotoFormat stored = PhotoFormatFromCode(fallback);
    return stored == PhotoFormat::None ? PhotoFormat::Jpeg : stored;
  }
  const PhotoFormat format = FormatNamed(*text);
  if (format == PhotoFormat::None) {
    context.Fail(std::string(option) + " takes jpg, png, bmp, tif or gif, not '" + *text + "'");
    return std::nullopt;
  }
  return format;
}

std::vector<std::string> WorkList(const ProjectsRecord& project) {
  return BatchWorkList(project.saveTo, project.thumbnailSaveTo, project.mobileSaveTo);
}

// Runs the job with its progress line, prints its summary and each failed photo.
int RunJob(CliContext& context, BatchJob& job) {
  {
    // The status before each photo: a few times a second on a terminal, otherwise one line
    // per photo.
    ProgressLine progress(context, std::chrono::milliseconds(200), std::chrono::milliseconds(0));
    RunBatchJob(job, [&](std::size_t, const std::string& text) { progress.Show(text); });
  }
  context.out() << job.Summary() << '\n';
  for (const std::string& photo : job.Failures())
    context.err() << "failed: " << TerminalTextFilter::Clean(photo) << '\n';
  return job.Failures().empty() ? kExitOk : kExitFailure;
}

// The project named on the command line, with its Save To folder held for the run: a scan
// saving there meanwhile would have its photos written over.
std::optional<ProjectsRecord> ProjectWithFolder(CliContext& context, const ParsedArgs& args,
                                                std::optional<FolderLock>& lock) {
  if (!context.OpenData()) return std::nullopt;
  auto project = FindProject(context, args.positionals.front());
  if (!project) return std::nullopt;
  if (Trim(project->saveTo).empty()) {
    context.Fail("project '" + project->title + "' has no 'Save To' folder");
    return std::nullopt;
  }
  lock = FolderLock::TakeSaveTo(context.settings().Paths().tempFolder, project->saveTo);
  if (!lock) {
    context.Fail("a scan or another tool is working in '" + project->saveTo +
                 "'; run this tool when it has ended");
    return std::nullopt;
  }
  return project;
}

int ThumbsCommand(CliContext& context, const ParsedArgs& args) {
  std::optional<FolderLock> lock;
  const auto project = ProjectWithFolder(context, args, lock);
  if (!project) return kExitFailure;
  const SettingsValues& values = context.settings().Values();
  ThumbnailToolOptions options = ThumbnailToolOptionsFrom(values);
  const bool chosen = args.Has("--thumbnails") || args.Has("--mobile");
  SmallCopyOptions& thumbs = options.thumbnails;
  thumbs.create = chosen ? args.Has("--thumbnails") : project->autoCreateThumbnails;
  SmallCopyOptions& mobile = options.mobile;
  mobile.create = chosen ? args.Has("--mobile") : project->autoCreateMobile;
  if (!thumbs.create && !mobile.create) thumbs.create = true;

  const auto box = PositiveNumber(context, args, "--box");
  const auto mobileBox = PositiveNumber(context, args, "--mobile-box");
  const auto format = FormatOption(context, args, "--format", project->thumbnailFormat);
  const auto mobileFormat = FormatOption(context, args, "--mobile-format", project->mobileFormat);
  if ((box && *box == 0) || (mobileBox && *mobileBox == 0) || !format || !mobileFormat)
    return kExitUsage;
  thumbs.box = box.value_or(project->thumbnailBoundingBox);
  thumbs.format = *format;
  thumbs.orientation = PhotoOrientationFromCode(project->thumbnailOrientation);
  thumbs.folder = args.Value("--folder").value_or(project->thumbnailSaveTo);
  thumbs.clearFirst = args.Has("--clear");
  mobile.box = mobileBox.value_or(project->mobileBoundingBox);
  mobile.format = *mobileFormat;
  mobile.orientation = PhotoOrientationFromCode(project->mobileOrientation);
  mobile.folder = args.Value("--mobile-folder").value_or(project->mobileSaveTo);
  mobile.clearFirst = args.Has("--clear");
  if ((thumbs.create && thumbs.box <= 0) || (mobile.create && mobile.box <= 0))
    return context.Fail("the project has no bounding-box for this copy: give --box/--mobile-box");

  if (const auto problem = ThumbnailTool::Check(options, project->saveTo, values.autoCreateFolders))
    return context.Fail(problem->message);
  // The folders of the run itself are kept out of the work list, also when given here.
  ThumbnailTool tool(BatchWorkList(project->saveTo, thumbs.folder, mobile.folder), options);
  if (!tool.Prepare([&](const std::string& text) { context.err() << text << '\n'; }))
    return context.Fail("a destination folder could not be created");
  return RunJob(context, tool);
}

int ResizeCommand(CliContext& context, const ParsedArgs& args) {
  if (!args.Has("--box") && !args.Has("--to")) {
    context.Fail("tools resize: give --box N, --to FORMAT or both");
    return kExitUsage;
  }
  std::optional<FolderLock> lock;
  const auto project = ProjectWithFolder(context, args, lock);
  if (!project) return kExitFailure;
  ResizeToolOptions options = ResizeToolOptionsFrom(context.settings().Values());
  const auto box = PositiveNumber(context, args, "--box");
  const auto format = FormatOption(context, args, "--to", project->convertToFormat);
  if ((box && *box == 0) || !format) return kExitUsage;
  options.resize = box.has_value();
  options.box = box.value_or(0);
  options.convert = args.Has("--to");
  options.format = *format;
  options.saveTo = project->saveTo;
  ResizeTool tool(WorkList(*project), options);
  return RunJob(context, tool);
}

int RenameCommand(CliContext& context, const ParsedArgs& args) {
  std::optional<FolderLock> lock;
  const auto project = ProjectWithFolder(context, args, lock);
  if (!project) return kExitFailure;
  BatchRenameOptions options;
  options.mode = args.Has("--folder-names") ? RenameMode::FolderName : RenameMode::Prefix;
  options.prefix = args.Value("--prefix").value_or(project->namePrefix);
  if (options.mode == RenameMode::Prefix && Trim(options.prefix).empty())
    return context.Fail("tools rename: the project has no name prefix; give --prefix TEXT");
  if (const auto pad = args.Value("--pad")) {
    const std::optional<int> digits = ParseId(*pad);
    if (!digits || *digits < 1 || *digits > 9) {
      context.Fail("--pad takes a number of digits from 1 to 9, not '" + *pad + "'");
      return kExitUsage;
    }
    options.padNumbers = true;
    options.padding = *digits;
  }
  options.includePhotoSize = args.Has("--with-size");
  options.spacesToUnderscores = args.Has("--spaces-to-underscores");
  options.dashesToUnderscores = args.Has("--dashes-to-underscores");
  BatchRenamer renamer(WorkList(*project), options, project->thumbnailSaveTo,
                       project->mobileSaveTo);
  return RunJob(context, renamer);
}

int GrayscaleCommand(CliContext& context, const ParsedArgs& args) {
  const auto folder = args.Value("--to-folder");
  if (folder.has_value() == args.Has("--replace")) {
    context.Fail("tools grayscale: give either --replace or --to-folder DIR");
    return kExitUsage;
  }
  std::optional<FolderLock> lock;
  const auto project = ProjectWithFolder(context, args, lock);
  if (!project) return kExitFailure;
  auto run = PlanGrayscaleRun(project->saveTo, WorkList(*project), !folder, folder.value_or(""));
  if (!run) return context.Fail("no folder " + *folder);
  GrayscaleTool tool(std::move(run->photos), run->options);
  return RunJob(context, tool);
}

}  // namespace

void RegisterToolCommands(CommandRegistry& registry) {
  registry.Add({"tools thumbs",
                "ID|TITLE [--thumbnails] [--mobile] [--box N] [--format F] [--folder DIR] "
                "[--mobile-box N] [--mobile-format F] [--mobile-folder DIR] [--clear]",
                "Create thumbnails and/or mobile photos of a project's photos (the project's "
                "own choices unless given).",
                {{"--thumbnails", false, {}},
                 {"--mobile", false, {}},
                 {"--box", true, "N"},
                 {"--format", true, "F"},
                 {"--folder", true, "DIR"},
                 {"--mobile-box", true, "N"},
                 {"--mobile-format", true, "F"},
                 {"--mobile-folder", true, "DIR"},
                 {"--clear", false, {}}},
                1,
                1,
                ThumbsCommand});
  registry.Add({"tools resize",
                "ID|TITLE [--box N] [--to jpg|png|bmp|tif|gif]",
                "Shrink a project's photos to fit a box and/or convert them, in place.",
                {{"--box", true, "N"}, {"--to", true, "FORMAT"}},
                1,
                1,
                ResizeCommand});
  registry.Add({"tools rename",
                "ID|TITLE [--prefix TEXT | --folder-names] [--pad N] [--with-size] "
                "[--spaces-to-underscores] [--dashes-to-underscores]",
                "Rename a project's photos with a prefix and a number, or by their folder.",
                {{"--prefix", true, "TEXT"},
                 {"--folder-names", false, {}},
                 {"--pad", true, "N"},
                 {"--with-size", false, {}},
                 {"--spaces-to-underscores", false, {}},
                 {"--dashes-to-underscores", false, {}}},
                1,
                1,
                RenameCommand});
  registry.Add({"tools grayscale",
                "ID|TITLE --replace | --to-folder DIR",
                "Turn a project's photos to grayscale, in place or as copies in a folder.",
                {{"--replace", false, {}}, {"--to-folder", true, "DIR"}},
                1,
                1,
                GrayscaleCommand});
}

}  // namespace trawlix::cli
