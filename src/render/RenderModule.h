#pragma once

#include "scan/engine/PageRenderer.h"

// The rendering library is loaded by the programs only when a page first needs rendering:
// QtWebEngine and what it pulls in take longer to load than a small scan takes to run. This
// is the one function they look up in it.
extern "C" trawlix::PageRenderer* trawlix_make_page_renderer();

namespace trawlix {

using MakePageRendererFunction = PageRenderer* (*)();
inline constexpr char kMakePageRendererSymbol[] = "trawlix_make_page_renderer";

}  // namespace trawlix
