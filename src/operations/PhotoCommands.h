#pragma once

#include <climits>
#include <string>

#include "imaging/codec/PhotoFormat.h"
#include "platform/DesktopBackground.h"
#include "settings/SettingsValues.h"

namespace trawlix {

// The commands on one photo of the viewer.

enum class PhotoTransform { RotateRight, Mirror, FlipTopBottom, Grayscale };

// The photo itself is changed when the options say "Replace Existing Photo (Overwrite)" and
// Ctrl is not held; otherwise a copy is made.
bool TransformReplacesPhoto(const SettingsValues& values, bool controlHeld);

enum class TransformOutcome {
  Replaced,    // the photo holds the result
  Copied,      // the result is a new photo beside it
  NoFreeName,  // photoa.jpg to photoz.jpg all exist: nothing written
  Failed,      // nothing written; the photo is as it was
};

struct TransformResult {
  TransformOutcome outcome = TransformOutcome::Failed;
  std::string path;  // the photo (Replaced) or its new copy (Copied)
};

// Writes the result through a temporary file, so the photo stays whole until the new one
// is complete. A copy takes the photo's name with the first free letter: photo.jpg gives
// photoa.jpg, then photob.jpg; photoa.jpg gives photoaa.jpg.
TransformResult TransformPhoto(const std::string& photoPath, PhotoTransform transform,
                               bool replace);
// What to tell the user when the transform wrote nothing; empty when it worked.
std::string TransformFailureText(const TransformResult& result, const std::string& photoPath);

// "Are you sure you want to delete the photo 'photo.jpg?'..."
std::string DeletePhotoQuestion(const std::string& photoPath);
// Removes the file; false (and the file still there) when it could not be.
bool DeletePhotoFile(const std::string& photoPath);
std::string DeleteFailureText(const std::string& photoPath);

// The viewer's rows that were visible when the photo was deleted.
struct VisibleRows {
  int first = 0;
  int last = INT_MAX;
};
// The new current photo after the one at `index` was removed and `remaining` are left: the
// same index (now the next photo), one back when that is past the end or off the visible
// rows; -1 when none is left.
int CurrentAfterDelete(int index, int remaining, VisibleRows visible = {});

// The save dialog's filter: "JPEG (Joint Photographic Experts Group) (*.jpg)".
std::string CopyPhotoFilter(const std::string& photoPath);
// Copies the photo, replacing the target, through a temporary file beside the target. A
// target that is the photo itself is left alone (and counts as done).
bool CopyPhotoTo(const std::string& photoPath, const std::string& targetPath);

// Writes the desktop's picture as BMP: the photo itself, or for CenteredResized the photo
// fitted to the screen (a smaller photo keeps its size). False when the photo is missing or
// cannot be read.
bool WriteWallpaper(const std::string& photoPath, const std::string& wallpaperPath,
                    WallpaperStyle style, PhotoSize screen);

// The properties text of the photo (name, location, size, dates, pixels and format).
std::string PhotoPropertiesText(const std::string& photoPath);

}  // namespace trawlix
