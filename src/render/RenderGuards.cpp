#include "render/RenderGuards.h"

#include <QHostAddress>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

namespace trawlix {

namespace {

bool IsLocalHost(const QString& host) {
  if (host.compare("localhost", Qt::CaseInsensitive) == 0 ||
      host.endsWith(".localhost", Qt::CaseInsensitive))
    return true;
  const QHostAddress address(host);
  return !address.isNull() && !address.isGlobal();
}

}  // namespace

bool RenderMayLoad(const QUrl& url, bool refuseLocalNetwork) {
  const QString scheme = url.scheme().toLower();
  if (scheme != "http" && scheme != "https") return false;
  return !refuseLocalNetwork || !IsLocalHost(url.host());
}

void RequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (RenderMayLoad(info.requestUrl(), refuseLocalNetwork_)) return;
  info.block(true);
  ++refused_;
}

GuardedPage::GuardedPage(QWebEngineProfile* profile, bool refuseLocalNetwork,
                         std::atomic<std::size_t>& refused, QObject* parent)
    : QWebEnginePage(profile, parent), refuseLocalNetwork_(refuseLocalNetwork), refused_(refused) {
  connect(this, &QWebEnginePage::featurePermissionRequested, this,
          [this](const QUrl& origin, Feature feature) {
            ++refused_;
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
          });
  connect(this, &QWebEnginePage::fullScreenRequested, this,
          [](QWebEngineFullScreenRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::quotaRequested, this,
          [](QWebEngineQuotaRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
          [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
          [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
}

QWebEnginePage* GuardedPage::createWindow(WebWindowType) {
  ++refused_;
  return nullptr;
}

bool GuardedPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  if (RenderMayLoad(url, refuseLocalNetwork_)) return true;
  ++refused_;
  return false;
}

QStringList GuardedPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
  return {};
}

void GuardedPage::javaScriptAlert(const QUrl&, const QString&) {}

bool GuardedPage::javaScriptConfirm(const QUrl&, const QString&) {
  return false;
}

bool GuardedPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
  return false;
}

// A page's console is not ours to print.
void GuardedPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                           const QString&) {}

}  // namespace trawlix
