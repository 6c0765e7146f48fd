#include "frontend/Rendering.h"

#include <QCoreApplication>

#ifdef TRAWLIX_RENDERING
#include <QApplication>

#include "render/RenderSetup.h"
#include "render/WebPageRenderer.h"
#endif

namespace trawlix {

namespace {

int gArgc = 1;
char gName[] = "trawlix-cli";
char* gArgv[] = {gName, nullptr};

}  // namespace

#ifdef TRAWLIX_RENDERING

bool RenderingBuilt() {
  return true;
}

void PrepareRendering(bool needsDisplay) {
  trawlix::PrepareRenderingEnvironment(needsDisplay);
}

std::unique_ptr<QCoreApplication> MakeCommandApplication(bool render) {
  if (!render) return std::make_unique<QCoreApplication>(gArgc, gArgv);
  PrepareRenderingEnvironment(false);
  auto application = std::make_unique<QApplication>(gArgc, gArgv);
  // The command ends when its work does, not with a window.
  QApplication::setQuitOnLastWindowClosed(false);
  return application;
}

std::unique_ptr<PageRenderer> MakePageRenderer() {
  if (!CanRender()) return nullptr;
  return std::make_unique<WebPageRenderer>();
}

#else

bool RenderingBuilt() {
  return false;
}

void PrepareRendering(bool) {}

std::unique_ptr<QCoreApplication> MakeCommandApplication(bool) {
  return std::make_unique<QCoreApplication>(gArgc, gArgv);
}

std::unique_ptr<PageRenderer> MakePageRenderer() {
  return nullptr;
}

#endif

}  // namespace trawlix
