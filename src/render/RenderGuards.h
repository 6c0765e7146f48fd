#pragma once

#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <atomic>
#include <cstddef>

namespace trawlix {

// Whether a rendered page may load this address at all: http and https only, and, when the
// scan keeps off the local network, no loopback or private address written as such.
bool RenderMayLoad(const QUrl& url, bool refuseLocalNetwork);

// Sees every request a rendered page makes and blocks those it may not load.
class RequestGuard final : public QWebEngineUrlRequestInterceptor {
 public:
  RequestGuard(bool refuseLocalNetwork, std::atomic<std::size_t>& refused, QObject* parent)
      : QWebEngineUrlRequestInterceptor(parent),
        refuseLocalNetwork_(refuseLocalNetwork),
        refused_(refused) {}
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  const bool refuseLocalNetwork_;
  std::atomic<std::size_t>& refused_;
};

// A page that opens no window, shows no dialog, picks no file, leaves for no other scheme and
// is granted no permission: a rendered page only shows itself.
class GuardedPage final : public QWebEnginePage {
 public:
  GuardedPage(QWebEngineProfile* profile, bool refuseLocalNetwork,
              std::atomic<std::size_t>& refused, QObject* parent);

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                          const QStringList& acceptedMimeTypes) override;
  void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
  bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
  bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                        QString* result) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceID) override;

 private:
  const bool refuseLocalNetwork_;
  std::atomic<std::size_t>& refused_;
};

}  // namespace trawlix
