#include "scan/engine/RenderHandOff.h"

#include <utility>

namespace trawlix {

RenderHandOff::RenderHandOff(UiThread& ui, PageRenderer& renderer, std::function<void()> wake)
    : ui_(ui), renderer_(renderer), box_(std::make_shared<Box>()) {
  box_->wake = std::move(wake);
}

RenderHandOff::~RenderHandOff() {
  const std::scoped_lock lock(box_->mutex);
  box_->wake = nullptr;
}

void RenderHandOff::Request(RenderRequest request) {
  ui_.Post([&renderer = renderer_, box = box_, request = std::move(request)]() mutable {
    {
      const std::scoped_lock lock(box->mutex);
      if (!box->wake) return;  // the scan ended before its turn came
    }
    renderer.Render(std::move(request), [box](RenderResult result) {
      const std::scoped_lock lock(box->mutex);
      if (!box->wake) return;
      box->result = std::move(result);
      box->wake();
    });
  });
}

std::optional<RenderResult> RenderHandOff::Take() {
  const std::scoped_lock lock(box_->mutex);
  return std::exchange(box_->result, std::nullopt);
}

}  // namespace trawlix
