#include <QApplication>
#include <QDir>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/HandOver.h"
#include "app/SingleInstance.h"
#include "app/SplashScreen.h"
#include "app/StartArguments.h"
#include "frontend/Rendering.h"
#include "imaging/codec/PhotoCodec.h"
#include "operations/DataSession.h"
#include "scan/net/NetworkGuard.h"
#include "ui/DialogMessageSink.h"
#include "ui/Icons.h"
#include "ui/window/MainWindow.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Qt would abort without a display; say what to use instead.
bool HasDisplay() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

constexpr const char* kNoDisplay =
    "trawlix: the desktop program needs a graphical display (neither DISPLAY nor "
    "WAYLAND_DISPLAY is set).\n"
    "Without one, use the command line instead:\n"
    "  ./run.sh --cli COMMAND ...          from the source folder, or\n"
    "  build/src/cli/trawlix-cli help      for its commands.\n";

// The primary screen's horizontal resolution: the photo resolution new settings start with.
std::optional<int> ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return std::nullopt;
  return static_cast<int>(std::lround(screen->logicalDotsPerInchX()));
}

}  // namespace

int main(int argc, char** argv) {
  using trawlix::app::SingleInstance;
  const trawlix::app::StartArguments start =
      trawlix::app::ParseStartArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!start.error.empty()) {
    std::cerr << "trawlix: " << start.error << "\n\n" << trawlix::app::StartUsage();
    return 2;
  }
  if (start.help) {
    std::cout << trawlix::app::StartUsage();
    return 0;
  }
  if (!HasDisplay()) {
    std::cerr << kNoDisplay;
    return 1;
  }

  // Chromium's flags, its sandbox as root, shared OpenGL contexts: before the application.
  trawlix::PrepareRendering(true);
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
  QApplication::setApplicationName(QStringLiteral("Trawlix() PRO"));
  // Ties the window to the installed desktop entry and its icon (Wayland goes by this name).
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quillmoor.Trawlix"));
  QApplication::setWindowIcon(trawlix::ui::Icon(trawlix::ui::IconName::Application));

  SingleInstance instance(SingleInstance::DefaultServerName(QString::fromStdString(start.dataDir)));
  // Texts that arrive before the main window exists wait for it.
  trawlix::ui::MainWindow* window = nullptr;
  std::vector<std::string> early;
  const auto wakeUp = [&window](const std::string& text) {
    window->BringToFront();
    const std::string importPath = trawlix::app::ImportPathFromHandOver(text);
    if (!importPath.empty()) window->HandOver(importPath);
  };
  QObject::connect(&instance, &SingleInstance::HandedOver, &application,
                   [&](const QByteArray& text) {
                     if (window == nullptr) {
                       early.push_back(text.toStdString());
                     } else {
                       wakeUp(text.toStdString());
                     }
                   });
  switch (instance.Start(
      trawlix::app::SecondStartText(start.files, QDir::currentPath().toStdString()))) {
    case SingleInstance::Role::Second:
      return 0;
    case SingleInstance::Role::Failed:
      std::cerr << "trawlix: cannot tell whether the program runs already; starting anyway.\n";
      break;
    case SingleInstance::Role::First:
      break;
  }

  // Process-wide set-up of the network and image libraries, before any thread starts.
  const trawlix::NetworkGuard network;
  trawlix::InitImaging();

  trawlix::ui::DialogMessageSink messages;
  std::string error;
  const std::unique_ptr<trawlix::DataSession> session =
      trawlix::DataSession::Open(start.dataDir, messages, error, ScreenDpi());
  if (!session) {
    trawlix::MessageRequest request{error};
    request.icon = trawlix::MessageIcon::Error;
    messages.Show(request);
    return 1;
  }

  trawlix::ui::MainWindow mainWindow(*session, messages);
  messages.SetParent(&mainWindow);
  const std::string startupImport = trawlix::app::ImportPathFromArgument(start.FirstFile());
  if (!startupImport.empty()) mainWindow.SetStartupImport(startupImport);
  mainWindow.show();
  window = &mainWindow;
  for (const std::string& text : early) wakeUp(text);
  early.clear();

  if (start.splash && !IsSet("TRAWLIX_NO_SPLASH")) {
    auto* splash = new trawlix::app::SplashScreen;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->ShowOver(&mainWindow);
  }
  const int status = QApplication::exec();
  window = nullptr;
  return status;
}
