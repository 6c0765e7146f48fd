#pragma once

namespace trawlix {

// What rendering needs before the application object is made: Chromium's flags (a bound on
// each page's script memory), the sandbox turned off when running as root (Chromium refuses
// to start otherwise), the offscreen platform when there is no display, and shared OpenGL
// contexts. `needsDisplay` false (the command line) picks offscreen without a display.
void PrepareRenderingEnvironment(bool needsDisplay);

// Whether pages can be rendered in this process: a QApplication exists.
bool CanRender();

}  // namespace trawlix
