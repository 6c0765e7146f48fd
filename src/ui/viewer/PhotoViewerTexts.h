#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace trawlix::ui {

class PhotoViewerPaging;

// The texts the viewer's status line and information panel show.
class PhotoViewerTexts {
 public:
  enum class Numbers { Grouped, Plain };

  // "Photo #3 of 1,234" in the single view; "Photos 1 - 36 of 37" or "Photos 37 - 37" in a
  // grid; empty without photos. A selection change in the single view writes plain numbers.
  static QString StatusLine(const PhotoViewerPaging& paging, Numbers numbers = Numbers::Grouped);

  // "4000x3000   1.23MB " (blanks as shown in the panel).
  static QString SizeText(int width, int height, std::int64_t bytes);
  // "12/09/2026 01:04:23PM".
  static QString TimeText(const QDateTime& time);
};

}  // namespace trawlix::ui
