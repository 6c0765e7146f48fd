#pragma once

#include <chrono>
#include <functional>

namespace trawlix::testing {

// Runs Qt's event loop (where the renderer and the scan's UI thread live) until `done` holds
// or `timeout` passes; returns `done()`.
bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace trawlix::testing
