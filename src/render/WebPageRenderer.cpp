#include "render/WebPageRenderer.h"

#include <QTimer>
#include <algorithm>
#include <memory>

namespace trawlix {

WebPageRenderer::WebPageRenderer(RenderBounds bounds) : bounds_(bounds) {}

WebPageRenderer::~WebPageRenderer() {
  // Jobs still running end without calling back.
  running_.clear();
}

void WebPageRenderer::Render(RenderRequest request, Done done) {
  waiting_.emplace_back(std::move(request), std::move(done));
  StartWaiting();
}

void WebPageRenderer::StartWaiting() {
  while (running_.size() < kAtOnce && !waiting_.empty()) {
    auto [request, done] = std::move(waiting_.front());
    waiting_.pop_front();
    // The job's call names the job, known only once it is made.
    auto self = std::make_shared<RenderJob*>(nullptr);
    auto job = std::make_unique<RenderJob>(
        std::move(request), bounds_,
        [this, self, done = std::move(done)](RenderResult result) mutable {
          Ended(*self, std::move(done), std::move(result));
        });
    *self = job.get();
    running_.push_back(std::move(job));
    running_.back()->Start();
  }
}

// The job is deleted from the event loop, not from within its own call.
void WebPageRenderer::Ended(RenderJob* job, Done done, RenderResult result) {
  QTimer::singleShot(0, &context_, [this, job] {
    std::erase_if(running_,
                  [job](const std::unique_ptr<RenderJob>& each) { return each.get() == job; });
    StartWaiting();
  });
  done(std::move(result));
}

}  // namespace trawlix
