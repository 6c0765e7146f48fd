#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <thread>
#include <vector>

#include "frontend/QtUiThread.h"
#include "support/ManualUiThread.h"

namespace trawlix {
namespace {

using namespace std::chrono_literals;

// The behaviour every implementation must share, run against both.
template <typename Fixture>
class UiThreadContract : public ::testing::Test {};

struct ManualFixture {
  ManualUiThread ui;
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    return ui.RunUntil(done, timeout);
  }
};

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "frontend_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

struct QtFixture {
  QtFixture() { App(); }
  QtUiThread ui;
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      ui.Pump();
      std::this_thread::sleep_for(1ms);
    }
    return done();
  }
};

using Fixtures = ::testing::Types<ManualFixture, QtFixture>;
TYPED_TEST_SUITE(UiThreadContract, Fixtures);

TYPED_TEST(UiThreadContract, PostedCallsRunOnTheUiThreadInOrderPerWorker) {
  TypeParam f;
  std::vector<std::pair<int, int>> order;  // touched only on the UI thread
  std::atomic<int> offUi{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 3; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < 200; ++i) {
        f.ui.Post([&, w, i] {
          if (!f.ui.IsUiThread()) ++offUi;
          order.emplace_back(w, i);
        });
      }
    });
  }
  for (std::thread& worker : workers) worker.join();  // posting never waits for the UI thread
  EXPECT_TRUE(f.RunUntil([&] { return order.size() == 600; }));
  EXPECT_EQ(offUi.load(), 0);
  int next[3] = {0, 0, 0};
  for (const auto& [w, i] : order) EXPECT_EQ(i, next[w]++) << "worker " << w;
}

TYPED_TEST(UiThreadContract, PostOnTheUiThreadRunsLaterAndPumpDrains) {
  TypeParam f;
  std::vector<int> ran;
  f.ui.Post([&] {
    ran.push_back(1);
    f.ui.Post([&] { ran.push_back(3); });  // posted while draining: still runs in this pump
  });
  f.ui.Post([&] { ran.push_back(2); });
  EXPECT_TRUE(ran.empty());
  f.ui.Pump();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  f.ui.Pump();  // nothing left: no effect
  EXPECT_EQ(ran.size(), 3u);
}

}  // namespace
}  // namespace trawlix
