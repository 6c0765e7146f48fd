#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "scan/engine/PageRenderer.h"
#include "scan/engine/UiThread.h"

namespace trawlix {

// Carries the engine's render requests to the renderer on the UI thread and the results back,
// without the engine ever waiting: a request is posted, and its result is taken when the
// engine looks for it. One request at a time.
class RenderHandOff {
 public:
  // `wake` is called (from the UI thread) when a result arrives.
  RenderHandOff(UiThread& ui, PageRenderer& renderer, std::function<void()> wake);
  // A result that arrives later is dropped.
  ~RenderHandOff();
  RenderHandOff(const RenderHandOff&) = delete;
  RenderHandOff& operator=(const RenderHandOff&) = delete;

  void Request(RenderRequest request);
  // The result, once it arrived; taken once.
  std::optional<RenderResult> Take();

 private:
  struct Box {
    std::mutex mutex;
    std::optional<RenderResult> result;
    std::function<void()> wake;  // empty once the hand-off is gone
  };

  UiThread& ui_;
  PageRenderer& renderer_;
  std::shared_ptr<Box> box_;
};

}  // namespace trawlix
