#include "support/QtTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

namespace trawlix::testing {

void EnsureQtApplication() {
  static std::unique_ptr<QApplication> application;
  if (QApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "trawlix_tests";
  static char* argv[] = {name, nullptr};
  application = std::make_unique<QApplication>(argc, argv);
}

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EnsureQtApplication(); }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

}  // namespace trawlix::testing
