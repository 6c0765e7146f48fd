#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "frontend/QtUiThread.h"
#include "scan/ManualUiThread.h"

namespace trawlix {
namespace {

using namespace std::chrono_literals;

// The behaviour every implementation must share, run against both.
template <typename Fixture>
class UiThreadContract : public ::testing::Test {};

struct ManualFixture {
  ManualUiThread ui{0.0};
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

TYPED_TEST(UiThreadContract, SentCallsRunOnTheUiThreadWhileTheWorkerWaits) {
  TypeParam f;
  std::vector<int> order;  // touched only on the UI thread
  std::atomic<bool> workerDone{false};
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) {
      bool onUi = false;
      f.ui.Send([&] {
        onUi = f.ui.IsUiThread();
        order.push_back(i);
      });
      EXPECT_TRUE(onUi);
    }
    workerDone = true;
  });
  EXPECT_TRUE(f.RunUntil([&] { return workerDone.load(); }));
  worker.join();
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
}

TYPED_TEST(UiThreadContract, ExceptionOfASentCallReachesTheSender) {
  TypeParam f;
  std::atomic<bool> caught{false};
  std::thread worker([&] {
    try {
      f.ui.Send([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error&) {
      caught = true;
    }
  });
  EXPECT_TRUE(f.RunUntil([&] { return caught.load(); }));
  worker.join();
}

TYPED_TEST(UiThreadContract, SendOnTheUiThreadRunsAtOnce) {
  TypeParam f;
  int ran = 0;
  f.ui.Send([&] { ++ran; });
  EXPECT_EQ(ran, 1);
}

TYPED_TEST(UiThreadContract, TimerArmedByAWorkerFiresOnceOnTheUiThread) {
  TypeParam f;
  int fired = 0;
  bool onUi = false;
  std::thread worker([&] {
    f.ui.SetTimer(kTimerPhotosFinished, 10ms, [&] {
      ++fired;
      onUi = f.ui.IsUiThread();
    });
  });
  // Arming from a worker may wait for the UI thread, as a sent call does.
  EXPECT_TRUE(f.RunUntil([&] { return fired > 0; }));
  worker.join();
  f.RunUntil([] { return false; }, 50ms);  // a second firing would show up here
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(onUi);
}

TYPED_TEST(UiThreadContract, RearmingReplacesAndKillingDisarms) {
  TypeParam f;
  int first = 0, second = 0, killed = 0;
  f.ui.SetTimer(kTimerPagesFinished, 5ms, [&] { ++first; });
  f.ui.SetTimer(kTimerPagesFinished, 5ms, [&] { ++second; });
  f.ui.SetTimer(kTimerWorkerStopped, 5ms, [&] { ++killed; });
  f.ui.KillTimer(kTimerWorkerStopped);
  f.ui.KillTimer(4242);  // never armed: no effect
  EXPECT_TRUE(f.RunUntil([&] { return second > 0; }));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(killed, 0);
}

TEST(ManualUiThread, TimersFireInDueOrder) {
  ManualUiThread ui(1.0);
  std::vector<int> fired;
  ui.SetTimer(kTimerWorkerStopped, 30ms, [&] { fired.push_back(kTimerWorkerStopped); });
  ui.SetTimer(kTimerPagesFinished, 1ms, [&] { fired.push_back(kTimerPagesFinished); });
  ui.SetTimer(kTimerPhotosFinished, 10ms, [&] { fired.push_back(kTimerPhotosFinished); });
  EXPECT_TRUE(ui.HasArmedTimer(kTimerPhotosFinished));
  EXPECT_TRUE(ui.RunUntil([&] { return fired.size() == 3; }, 2s));
  EXPECT_EQ(fired,
            (std::vector<int>{kTimerPagesFinished, kTimerPhotosFinished, kTimerWorkerStopped}));
  EXPECT_FALSE(ui.HasArmedTimer(kTimerPhotosFinished));
}

}  // namespace
}  // namespace trawlix
