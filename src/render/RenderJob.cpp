#include "render/RenderJob.h"

#include <QNetworkCookie>
#include <QVariantList>
#include <QVariantMap>
#include <QWebEngineCookieStore>
#include <QWebEngineDownloadRequest>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "render/DocumentScripts.h"
#include "render/NetscapeCookies.h"
#include "render/RenderGuards.h"

namespace trawlix {

namespace {

constexpr int kViewWidth = 1280;
constexpr int kViewHeight = 1000;

void Restrict(QWebEngineSettings& settings) {
  using S = QWebEngineSettings;
  for (const S::WebAttribute off :
       {S::JavascriptCanOpenWindows, S::JavascriptCanAccessClipboard, S::JavascriptCanPaste,
        S::LocalContentCanAccessRemoteUrls, S::LocalContentCanAccessFileUrls, S::PluginsEnabled,
        S::ScreenCaptureEnabled, S::ErrorPageEnabled, S::PdfViewerEnabled,
        S::FullScreenSupportEnabled, S::AllowRunningInsecureContent,
        S::AllowGeolocationOnInsecureOrigins, S::AllowWindowActivationFromJavaScript,
        S::LocalStorageEnabled, S::HyperlinkAuditingEnabled})
    settings.setAttribute(off, false);
  settings.setAttribute(S::AutoLoadImages, true);
  settings.setAttribute(S::PlaybackRequiresUserGesture, true);
  settings.setAttribute(S::WebRTCPublicInterfacesOnly, true);
}

std::string CookieKey(const QNetworkCookie& cookie) {
  return (cookie.domain() + '\t' + cookie.path() + '\t' + QString::fromUtf8(cookie.name()))
      .toStdString();
}

std::vector<std::string> Strings(const QVariant& list) {
  std::vector<std::string> strings;
  for (const QVariant& item : list.toList()) strings.push_back(item.toString().toStdString());
  return strings;
}

}  // namespace

RenderJob::RenderJob(RenderRequest request, const RenderBounds& bounds, PageRenderer::Done done)
    : request_(std::move(request)), bounds_(bounds), done_(std::move(done)) {
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, [this] {
    // A page still loading after its time is read as it stands.
    if (reading_) {
      Fail("it did not show its links in time");
    } else {
      if (page_ != nullptr) page_->triggerAction(QWebEnginePage::Stop);
      ReadLinks();
    }
  });
}

RenderJob::~RenderJob() {
  // A page going away answers its pending scripts empty: they must find the job ended.
  ended_ = true;
  // The view (and its page) must go before the profile they use.
  view_.reset();
}

void RenderJob::Start() {
  const QUrl url(QString::fromStdString(request_.url));
  if (!url.isValid() || !RenderMayLoad(url, request_.refuseLocalNetwork)) {
    ++refused_;
    Fail("only http and https addresses are rendered");
    return;
  }
  // No storage name: off the record, nothing kept on disk.
  profile_ = std::make_unique<QWebEngineProfile>();
  profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  guard_ = std::make_unique<RequestGuard>(request_.refuseLocalNetwork, refused_, nullptr);
  profile_->setUrlRequestInterceptor(guard_.get());
  // Notifications are never shown; downloads never start.
  profile_->setNotificationPresenter([](std::unique_ptr<QWebEngineNotification>) {});
  connect(profile_.get(), &QWebEngineProfile::downloadRequested, this,
          [this](QWebEngineDownloadRequest* download) {
            ++refused_;
            download->cancel();
          });
  QWebEngineCookieStore* store = profile_->cookieStore();
  connect(store, &QWebEngineCookieStore::cookieAdded, this, &RenderJob::OnCookieAdded);
  connect(store, &QWebEngineCookieStore::cookieRemoved, this, &RenderJob::OnCookieRemoved);
  for (const std::string& line : request_.cookies) SetNetscapeCookie(*store, line);

  view_ = std::make_unique<QWebEngineView>();
  page_ = new GuardedPage(profile_.get(), request_.refuseLocalNetwork, refused_, view_.get());
  Restrict(*page_->settings());
  view_->setPage(page_);
  // Scrolling needs a viewport: a shown view of a fixed size, offscreen without a display.
  view_->setAttribute(Qt::WA_DontShowOnScreen, true);
  // Its window neither keeps the program running nor ends it when it goes.
  view_->setAttribute(Qt::WA_QuitOnClose, false);
  view_->resize(kViewWidth, kViewHeight);
  view_->show();
  connect(page_, &QWebEnginePage::loadFinished, this, &RenderJob::OnLoaded);
  connect(page_, &QWebEnginePage::renderProcessTerminated, this,
          [this] { Fail("the browser engine ended while showing it"); });
  deadline_.start(bounds_.time);
  page_->load(url);
}

void RenderJob::OnLoaded(bool ok) {
  if (loaded_ || ended_) return;  // later loads are the page's own frames or navigations
  loaded_ = true;
  if (!ok) {
    Fail("it could not be loaded");
    return;
  }
  Scroll();
}

void RenderJob::Scroll() {
  if (ended_ || reading_) return;
  page_->runJavaScript(ScrollScript(), [this](const QVariant& value) {
    if (ended_ || reading_) return;
    const QVariantList numbers = value.toList();
    if (numbers.size() != 2) {
      ReadLinks();
      return;
    }
    ++scrolls_;
    if (scrolls_ >= bounds_.scrolls || numbers[1].toInt() >= bounds_.photos) {
      ReadLinks();
      return;
    }
    CheckGrowth(numbers[0].toLongLong(), std::chrono::steady_clock::now());
  });
}

// Waits for the document to grow after a scroll, looking every poll interval; a document that
// did not grow within the settle time has shown everything it will.
void RenderJob::CheckGrowth(qint64 heightBefore, std::chrono::steady_clock::time_point since) {
  QTimer::singleShot(bounds_.poll, this, [this, heightBefore, since] {
    if (ended_ || reading_) return;
    page_->runJavaScript(
        QStringLiteral("(document.scrollingElement || document.documentElement).scrollHeight"),
        [this, heightBefore, since](const QVariant& height) {
          if (ended_ || reading_) return;
          if (height.toLongLong() > heightBefore) {
            Scroll();
          } else if (std::chrono::steady_clock::now() - since >= bounds_.settle) {
            ReadLinks();
          } else {
            CheckGrowth(heightBefore, since);
          }
        });
  });
}

void RenderJob::ReadLinks() {
  if (ended_ || reading_) return;
  reading_ = true;
  // Reading has a few seconds of its own after a page that used up its time.
  if (!deadline_.isActive() || deadline_.remainingTime() < 5'000) deadline_.start(5'000);
  page_->runJavaScript(ReadLinksScript(bounds_.photos, bounds_.pages, bounds_.longestAddress),
                       [this](const QVariant& value) {
                         if (ended_) return;
                         const QVariantMap links = value.toMap();
                         RenderResult result;
                         result.ok = true;
                         result.finalURL = page_->url().toString().toStdString();
                         result.photoLinks = Strings(links.value("photos"));
                         result.pageLinks = Strings(links.value("pages"));
                         Finish(std::move(result));
                       });
}

void RenderJob::OnCookieAdded(const QNetworkCookie& cookie) {
  if (std::optional<std::string> line = ToNetscapeLine(cookie))
    cookies_[CookieKey(cookie)] = std::move(*line);
}

void RenderJob::OnCookieRemoved(const QNetworkCookie& cookie) {
  cookies_.erase(CookieKey(cookie));
}

void RenderJob::Fail(const std::string& reason) {
  RenderResult result;
  result.failure = reason;
  Finish(std::move(result));
}

void RenderJob::Finish(RenderResult result) {
  if (ended_) return;
  ended_ = true;
  deadline_.stop();
  if (page_ != nullptr) page_->triggerAction(QWebEnginePage::Stop);
  for (auto& [key, line] : cookies_) result.cookies.push_back(line);
  result.refused = refused_.load();
  // The caller may delete this job from within the call.
  PageRenderer::Done done = std::move(done_);
  done(std::move(result));
}

}  // namespace trawlix
