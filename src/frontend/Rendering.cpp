#include "frontend/Rendering.h"

#include <QCoreApplication>

#ifdef TRAWLIX_RENDERING
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include "render/RenderModule.h"
#endif

namespace trawlix {

namespace {

int gArgc = 1;
char gName[] = "trawlix-cli";
char* gArgv[] = {gName, nullptr};

}  // namespace

#ifdef TRAWLIX_RENDERING

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

bool CanRender() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// Beside the installed programs first, then where this build made it.
QString RenderLibraryPath() {
  const QStringList candidates = {
      QCoreApplication::applicationDirPath() + '/' + TRAWLIX_RENDER_LIBRARY_INSTALLED,
      QStringLiteral(TRAWLIX_RENDER_LIBRARY_BUILT)};
  for (const QString& candidate : candidates) {
    if (QFileInfo(candidate).isFile()) return candidate;
  }
  return candidates.back();
}

// Loads the rendering library once per process and keeps it loaded. Sets `failure` and
// returns null when it cannot.
MakePageRendererFunction LoadRenderLibrary(std::string& failure) {
  static std::string why;
  static const MakePageRendererFunction make = [] {
    QLibrary library(RenderLibraryPath());
    const auto function =
        reinterpret_cast<MakePageRendererFunction>(library.resolve(kMakePageRendererSymbol));
    if (function == nullptr) why = library.errorString().toStdString();
    return function;
  }();
  failure = why;
  return make;
}

// Stands in for the renderer until the first page comes, so that a scan that renders nothing
// never loads QtWebEngine.
class LoadingPageRenderer final : public PageRenderer {
 public:
  void Render(RenderRequest request, Done done) override {
    if (!renderer_) {
      std::string failure;
      if (const MakePageRendererFunction make = LoadRenderLibrary(failure)) {
        renderer_.reset(make());
      } else {
        RenderResult result;
        result.failure = "the page renderer could not be loaded: " + failure;
        done(std::move(result));
        return;
      }
    }
    renderer_->Render(std::move(request), std::move(done));
  }

 private:
  std::unique_ptr<PageRenderer> renderer_;
};

}  // namespace

bool RenderingBuilt() {
  return true;
}

void PrepareRendering(bool needsDisplay) {
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

std::unique_ptr<QCoreApplication> MakeCommandApplication(bool render) {
  if (!render) return std::make_unique<QCoreApplication>(gArgc, gArgv);
  PrepareRendering(false);
  auto application = std::make_unique<QApplication>(gArgc, gArgv);
  // The command ends when its work does, not with a window.
  QApplication::setQuitOnLastWindowClosed(false);
  return application;
}

std::unique_ptr<PageRenderer> MakePageRenderer() {
  if (!CanRender()) return nullptr;
  return std::make_unique<LoadingPageRenderer>();
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
