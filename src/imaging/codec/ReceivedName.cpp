#include "imaging/codec/ReceivedName.h"

#include "imaging/codec/Container.h"

namespace trawlix {

std::string NameForReceivedFormat(const std::string& path, const std::string& name) {
  const PhotoFormat format = imaging_internal::FormatOf(imaging_internal::SniffContainer(path));
  if (format == PhotoFormat::None) return name;
  const std::size_t dot = name.rfind('.');
  const std::string extension = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
  const PhotoFormat named = PhotoFormatFromPath("x" + extension);
  if (named == format) return name;
  const std::string title = named == PhotoFormat::None ? name : name.substr(0, dot);
  return title + PhotoFormatExtension(format);
}

}  // namespace trawlix
