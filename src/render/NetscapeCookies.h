#pragma once

#include <QNetworkCookie>
#include <optional>
#include <string>

class QWebEngineCookieStore;

namespace trawlix {

// One cookie as a line of a Netscape cookies.txt file (what libcurl's cookie engine reads and
// lists): domain, subdomains, path, secure, expiry, name, value, tab-separated; an HttpOnly
// cookie's domain carries the "#HttpOnly_" prefix.
// Nothing for a cookie with a tab or line break in a field: it would forge further lines.
std::optional<std::string> ToNetscapeLine(const QNetworkCookie& cookie);
// Nothing for comments, blank lines and lines that are not seven fields.
std::optional<QNetworkCookie> FromNetscapeLine(const std::string& line);
// Hands one line's cookie to a browser profile's store, for the host (and, with a leading
// dot, the subdomains) it names.
void SetNetscapeCookie(QWebEngineCookieStore& store, const std::string& line);

}  // namespace trawlix
