#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace trawlix::ui {

// The page an address names, when it is a web page: http or https with a host. Addresses
// come from files and web pages, and the desktop's opener would run anything else it is
// given (file:, smb:, a .desktop launcher).
std::optional<QUrl> WebPageURL(const QString& address);

// Opens a web page in the user's browser; false, opening nothing, for any other address.
bool OpenWebPage(const QString& address);

}  // namespace trawlix::ui
