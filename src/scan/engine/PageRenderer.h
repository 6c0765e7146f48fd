#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace trawlix {

// One page to show to a browser engine.
struct RenderRequest {
  std::string url;  // http or https; anything else is refused
  // The scan's cookies in Netscape cookies.txt lines, handed to the page before it loads.
  std::vector<std::string> cookies;
  // A scan of a public site never lets the page reach this computer or the local network.
  bool refuseLocalNetwork = true;
};

// What the live document showed once its scripts ran and it was scrolled to its end.
struct RenderResult {
  bool ok = false;
  std::string failure;  // when not ok
  std::string finalURL;
  std::vector<std::string> photoLinks;  // images' current sources, srcset picks, backgrounds
  std::vector<std::string> pageLinks;   // every a[href]
  // Cookies the page set, in Netscape cookies.txt lines, for the scan's transfers.
  std::vector<std::string> cookies;
  std::size_t refused = 0;  // requests, downloads, windows and permissions turned away
};

// Renders pages offscreen. Lives on the UI thread; the scan engine hands it requests there
// (through UiThread::Post) and never waits for them.
class PageRenderer {
 public:
  using Done = std::function<void(RenderResult)>;
  virtual ~PageRenderer() = default;

  // UI thread only. Starts (or queues) the request; `done` runs later on the UI thread,
  // exactly once unless the renderer is destroyed first.
  virtual void Render(RenderRequest request, Done done) = 0;
};

}  // namespace trawlix
