#include "render/RenderSetup.h"

#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>

namespace trawlix {

namespace {

// Each page's script heap, in MB: a page that builds more than this is ended by the engine.
constexpr const char* kChromiumFlags = "--js-flags=--max-old-space-size=512";

void AppendChromiumFlags() {
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (flags.contains("max-old-space-size")) return;
  if (!flags.isEmpty()) flags += ' ';
  flags += kChromiumFlags;
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

bool HasDisplay() {
  return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

}  // namespace

void PrepareRenderingEnvironment(bool needsDisplay) {
  AppendChromiumFlags();
  // Chromium's sandbox cannot run as root; for any other user it stays on.
  if (geteuid() == 0 && qgetenv("QTWEBENGINE_DISABLE_SANDBOX").isEmpty())
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (!needsDisplay && !HasDisplay() && qgetenv("QT_QPA_PLATFORM").isEmpty())
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Without a GPU the engine lists its whole configuration as a warning: not ours to print.
  if (qgetenv("QT_LOGGING_RULES").isEmpty())
    qputenv("QT_LOGGING_RULES", "qt.webenginecontext.debug=false;qt.webenginecontext.info=false");
  if (QCoreApplication::instance() == nullptr)
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool CanRender() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace trawlix
