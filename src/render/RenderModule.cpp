#include "render/RenderModule.h"

#include "render/WebPageRenderer.h"

extern "C" trawlix::PageRenderer* trawlix_make_page_renderer() {
  return new trawlix::WebPageRenderer();
}
