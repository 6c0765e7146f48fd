#include "operations/PhotoToolSettings.h"

namespace trawlix {

namespace {

template <class Options>
Options SavedAsTheSettingsSay(const SettingsValues& values) {
  Options options;
  options.jpegQuality = values.jpegQuality;
  if (values.setPhotoDpi) options.dpi = values.photoDpi;
  return options;
}

}  // namespace

ResizeToolOptions ResizeToolOptionsFrom(const SettingsValues& values) {
  return SavedAsTheSettingsSay<ResizeToolOptions>(values);
}

ThumbnailToolOptions ThumbnailToolOptionsFrom(const SettingsValues& values) {
  return SavedAsTheSettingsSay<ThumbnailToolOptions>(values);
}

}  // namespace trawlix
