#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "frontend/Rendering.h"

namespace trawlix::testing {

namespace {

QApplication* gApplication = nullptr;

// The application is made as the programs make theirs for rendering (offscreen, the sandbox
// off as root), and ends when the tests do.
class RenderApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    PrepareRendering(false);
    static int argc = 1;
    static char name[] = "render_tests";
    static char* argv[] = {name, nullptr};
    gApplication = new QApplication(argc, argv);
  }
  void TearDown() override {
    delete gApplication;
    gApplication = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new RenderApplicationEnvironment);

}  // namespace

bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  // Wakes the wait below now and then, to look at `done` and the clock.
  QTimer tick;
  tick.start(20);
  while (!done() && std::chrono::steady_clock::now() < end)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return done();
}

}  // namespace trawlix::testing
