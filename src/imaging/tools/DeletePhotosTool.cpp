#include "imaging/tools/DeletePhotosTool.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {
namespace {

std::string Thousands(std::size_t value) {
  return FormatThousands(static_cast<std::int64_t>(value));
}

}  // namespace

DeletePhotosTool::DeletePhotosTool(std::vector<std::string> photos) : BatchJob(std::move(photos)) {}

std::string DeletePhotosTool::ProgressText() const {
  if (Done()) return {};
  return Format("Deleting photo %s of %s - %s", Thousands(NextIndex() + 1).c_str(),
                Thousands(Count()).c_str(), SplitPath(photos_[NextIndex()]).FileName().c_str());
}

bool DeletePhotosTool::Handle(std::size_t index) {
  std::error_code error;
  return std::filesystem::remove(photos_[index], error) && !error;
}

std::string DeletePhotosTool::Summary() const {
  const std::size_t deleted = NextIndex() - Failures().size();
  std::string text = Format("Deleted %s %s.", Thousands(deleted).c_str(), PhotoWord(deleted));
  if (!Failures().empty())
    text += Format("\n\nSeveral Photos (%s) could not be deleted.",
                   Thousands(Failures().size()).c_str());
  return text;
}

}  // namespace trawlix
