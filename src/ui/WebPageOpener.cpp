#include "ui/WebPageOpener.h"

#include <QDesktopServices>

namespace trawlix::ui {

std::optional<QUrl> WebPageURL(const QString& address) {
  const QUrl url(address.trimmed(), QUrl::TolerantMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https"))
    return std::nullopt;
  return url;
}

bool OpenWebPage(const QString& address) {
  const std::optional<QUrl> url = WebPageURL(address);
  return url && QDesktopServices::openUrl(*url);
}

}  // namespace trawlix::ui
