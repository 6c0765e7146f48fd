#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "scan/engine/PageRenderer.h"

class QNetworkCookie;
class QWebEngineProfile;
class QWebEngineView;

namespace trawlix {

class GuardedPage;
class RequestGuard;

// What one rendered page may take.
struct RenderBounds {
  std::chrono::milliseconds time{30'000};  // from the start of loading to the links read
  int scrolls = 20;
  int photos = 2'000;  // also: scrolling stops once the document holds this many images
  int pages = 10'000;
  int longestAddress = 2'046;
  // How long a scroll is given to make the document grow before the page counts as ended.
  std::chrono::milliseconds settle{1'200};
  std::chrono::milliseconds poll{200};
};

// One page in an offscreen view of a fixed size, in a profile of its own that keeps nothing
// on disk: loads it, scrolls to its end until it stops growing, reads its links, and ends
// by calling `done` once. Deleting the job ends it without the call.
class RenderJob final : public QObject {
 public:
  RenderJob(RenderRequest request, const RenderBounds& bounds, PageRenderer::Done done);
  ~RenderJob() override;
  RenderJob(const RenderJob&) = delete;
  RenderJob& operator=(const RenderJob&) = delete;

  void Start();
  bool Ended() const { return ended_; }

 private:
  void OnLoaded(bool ok);
  void Scroll();
  void CheckGrowth(qint64 heightBefore, std::chrono::steady_clock::time_point since);
  void ReadLinks();
  void OnCookieAdded(const QNetworkCookie& cookie);
  void OnCookieRemoved(const QNetworkCookie& cookie);
  void Fail(const std::string& reason);
  void Finish(RenderResult result);

  RenderRequest request_;
  const RenderBounds bounds_;
  PageRenderer::Done done_;
  std::atomic<std::size_t> refused_{0};
  std::unique_ptr<RequestGuard> guard_;          // outlives the profile that calls it
  std::unique_ptr<QWebEngineProfile> profile_;  // outlives the page and the view
  std::unique_ptr<QWebEngineView> view_;
  GuardedPage* page_ = nullptr;  // owned by the view
  QTimer deadline_;
  std::map<std::string, std::string> cookies_;  // by domain, path and name: the line
  int scrolls_ = 0;
  bool loaded_ = false;
  bool reading_ = false;
  bool ended_ = false;
};

}  // namespace trawlix
