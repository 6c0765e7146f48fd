#pragma once

#include <memory>

class QCoreApplication;

#include "scan/engine/PageRenderer.h"

namespace trawlix {

// Whether this build can render pages (QtWebEngine was there when it was built).
bool RenderingBuilt();

// Call before the application object is made: Chromium's flags (a bound on each page's
// script memory), the sandbox turned off when running as root (Chromium refuses to start
// otherwise), the offscreen platform when there is no display, and shared OpenGL contexts.
// Nothing without rendering. `needsDisplay` false lets the command line run offscreen
// without a display.
void PrepareRendering(bool needsDisplay);

// For a command-line program that has no application object yet: a QApplication ready to
// render (offscreen without a display) when `render` and this build can, else a
// QCoreApplication.
std::unique_ptr<QCoreApplication> MakeCommandApplication(bool render);

// The page renderer, or null when this build has none or the process has no QApplication.
// The rendering library is loaded when the first page is rendered; when it cannot be, that
// page and every later one fail with the reason.
std::unique_ptr<PageRenderer> MakePageRenderer();

}  // namespace trawlix
