#pragma once

#include "imaging/tools/ResizeTool.h"
#include "imaging/tools/ThumbnailTool.h"
#include "settings/SettingsValues.h"

namespace trawlix {

// A batch tool's options as the settings start them: the JPEG quality, and the resolution
// when setting it is on. Both front ends fill in the rest from the user's choices.
ResizeToolOptions ResizeToolOptionsFrom(const SettingsValues& values);
ThumbnailToolOptions ThumbnailToolOptionsFrom(const SettingsValues& values);

}  // namespace trawlix
