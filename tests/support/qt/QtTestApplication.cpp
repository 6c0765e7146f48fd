#include "support/QtTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

namespace trawlix::testing {

namespace {

QApplication* gApplication = nullptr;

}  // namespace

void EnsureQtApplication() {
  if (QApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "trawlix_tests";
  static char* argv[] = {name, nullptr};
  gApplication = new QApplication(argc, argv);
}

namespace {

// The application ends when the tests do, not during the program's exit: by then the
// platform plugin's own statics may be gone.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EnsureQtApplication(); }
  void TearDown() override {
    delete gApplication;
    gApplication = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

}  // namespace trawlix::testing
