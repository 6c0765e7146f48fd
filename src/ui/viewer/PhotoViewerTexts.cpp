#include "ui/viewer/PhotoViewerTexts.h"

#include "base/Number.h"
#include "base/Text.h"
#include "ui/viewer/PhotoViewerPaging.h"

namespace trawlix::ui {

QString PhotoViewerTexts::StatusLine(const PhotoViewerPaging& paging, Numbers numbers) {
  const int count = paging.count();
  if (count <= 0) return {};
  if (paging.singleView()) {
    const int number = paging.selected() >= 0 ? paging.selected() + 1 : paging.firstShown() + 1;
    if (numbers == Numbers::Plain) {
      return QString::fromStdString(Format("Photo #%d of %d", number, count));
    }
    return QString::fromStdString(
        Format("Photo #%s of %s", FormatThousands(number).c_str(), FormatThousands(count).c_str()));
  }
  const char* word = count == 1 ? "Photo" : "Photos";
  const int first = paging.firstShown();
  if (first + paging.perPage() < count) {
    return QString::fromStdString(
        Format("%s %s - %s of %s", word, FormatThousands(first + 1).c_str(),
               FormatThousands(first + paging.perPage()).c_str(), FormatThousands(count).c_str()));
  }
  return QString::fromStdString(Format("%s %s - %s", word, FormatThousands(first + 1).c_str(),
                                       FormatThousands(count).c_str()));
}

QString PhotoViewerTexts::SizeText(int width, int height, std::int64_t bytes) {
  return QString::fromStdString(
      Format("%dx%d   %s ", width, height, FormatByteSize(bytes).c_str()));
}

QString PhotoViewerTexts::TimeText(const QDateTime& time) {
  // The C locale's names, whatever the user's language: "%m/%d/%Y %I:%M:%S%p".
  return time.toString(QStringLiteral("MM/dd/yyyy hh:mm:ssAP"));
}

}  // namespace trawlix::ui
