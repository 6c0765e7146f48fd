#pragma once

#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "render/RenderJob.h"
#include "scan/engine/PageRenderer.h"

namespace trawlix {

// Renders pages with QtWebEngine, two at once at most; the others wait their turn in the
// order they came. Needs a QApplication (see PrepareRendering in frontend/Rendering.h).
class WebPageRenderer final : public PageRenderer {
 public:
  static constexpr std::size_t kAtOnce = 2;

  explicit WebPageRenderer(RenderBounds bounds = {});
  ~WebPageRenderer() override;
  WebPageRenderer(const WebPageRenderer&) = delete;
  WebPageRenderer& operator=(const WebPageRenderer&) = delete;

  void Render(RenderRequest request, Done done) override;

 private:
  void StartWaiting();
  void Ended(RenderJob* job, Done done, RenderResult result);

  const RenderBounds bounds_;
  std::deque<std::pair<RenderRequest, Done>> waiting_;
  std::vector<std::unique_ptr<RenderJob>> running_;
  QObject context_;  // ends queued clean-ups with the renderer
};

}  // namespace trawlix
