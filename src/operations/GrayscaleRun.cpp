#include "operations/GrayscaleRun.h"

#include <filesystem>
#include <system_error>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/tools/BatchJob.h"

namespace trawlix {

std::optional<GrayscaleRun> PlanGrayscaleRun(const std::string& projectFolder,
                                             std::vector<std::string> photos, bool replace,
                                             const std::string& folder) {
  GrayscaleRun run;
  run.options.replace = replace;
  if (!replace) {
    run.options.folder = NormalizeFolderPath(Trim(folder), TrailingSlash::Remove);
    std::error_code error;
    if (!run.options.folder.empty()) std::filesystem::create_directories(run.options.folder, error);
    if (run.options.folder.empty() || !std::filesystem::is_directory(run.options.folder, error)) {
      return std::nullopt;
    }
    if (SameFolder(run.options.folder, projectFolder)) {
      run.options.replace = true;
      run.options.folder.clear();
    }
  }
  if (!run.options.replace) {
    const std::string inside = run.options.folder + "/";
    std::erase_if(photos, [&](const std::string& photo) {
      return EqualsNoCase(photo.substr(0, inside.size()), inside);
    });
  }
  run.photos = std::move(photos);
  return run;
}

}  // namespace trawlix
