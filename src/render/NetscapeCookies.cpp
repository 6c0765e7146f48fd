#include "render/NetscapeCookies.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>
#include <QWebEngineCookieStore>

namespace trawlix {

namespace {

constexpr const char* kHttpOnly = "#HttpOnly_";

bool Breaks(const QString& text) {
  return text.contains('\t') || text.contains('\n') || text.contains('\r');
}

}  // namespace

std::optional<std::string> ToNetscapeLine(const QNetworkCookie& cookie) {
  // A domain with a leading dot also covers its subdomains; one without is host-only.
  const QString domain = cookie.domain();
  const bool subdomains = domain.startsWith('.');
  const qint64 expiry = cookie.isSessionCookie() ? 0 : cookie.expirationDate().toSecsSinceEpoch();
  QStringList fields{(cookie.isHttpOnly() ? QString(kHttpOnly) : QString()) + domain,
                     subdomains ? "TRUE" : "FALSE",
                     cookie.path().isEmpty() ? "/" : cookie.path(),
                     cookie.isSecure() ? "TRUE" : "FALSE",
                     QString::number(expiry),
                     QString::fromUtf8(cookie.name()),
                     QString::fromUtf8(cookie.value())};
  for (const QString& field : fields) {
    if (Breaks(field)) return std::nullopt;
  }
  return fields.join('\t').toStdString();
}

std::optional<QNetworkCookie> FromNetscapeLine(const std::string& line) {
  QString text = QString::fromStdString(line).trimmed();
  bool httpOnly = false;
  if (text.startsWith(kHttpOnly)) {
    httpOnly = true;
    text.remove(0, static_cast<int>(std::char_traits<char>::length(kHttpOnly)));
  }
  if (text.isEmpty() || text.startsWith('#')) return std::nullopt;
  const QStringList fields = text.split('\t');
  if (fields.size() != 7 || fields[0].isEmpty() || fields[5].isEmpty()) return std::nullopt;
  QNetworkCookie cookie(fields[5].toUtf8(), fields[6].toUtf8());
  QString domain = fields[0];
  if (fields[1] == "TRUE" && !domain.startsWith('.')) domain.prepend('.');
  cookie.setDomain(domain);
  cookie.setPath(fields[2]);
  cookie.setSecure(fields[3] == "TRUE");
  cookie.setHttpOnly(httpOnly);
  bool number = false;
  const qint64 expiry = fields[4].toLongLong(&number);
  if (number && expiry > 0) cookie.setExpirationDate(QDateTime::fromSecsSinceEpoch(expiry));
  return cookie;
}

void SetNetscapeCookie(QWebEngineCookieStore& store, const std::string& line) {
  std::optional<QNetworkCookie> cookie = FromNetscapeLine(line);
  if (!cookie) return;
  QString host = cookie->domain();
  if (host.startsWith('.')) {
    host.remove(0, 1);
  } else {
    cookie->setDomain({});  // a host-only cookie carries no domain attribute
  }
  store.setCookie(*cookie, QUrl((cookie->isSecure() ? "https://" : "http://") + host + "/"));
}

}  // namespace trawlix
