#pragma once

#include <map>
#include <memory>

#include "scan/UiThread.h"

class QObject;
class QTimer;

namespace trawlix {

// The UI thread on Qt's event loop: sent calls are blocking queued meta-calls, timers are
// single-shot QTimers. Construct it on the thread that runs the QCoreApplication.
class QtUiThread final : public UiThread {
 public:
  QtUiThread();
  ~QtUiThread() override;
  QtUiThread(const QtUiThread&) = delete;
  QtUiThread& operator=(const QtUiThread&) = delete;

  void Send(const std::function<void()>& call) override;
  void SetTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer) override;
  void KillTimer(int id) override;
  void Pump() override;
  bool IsUiThread() const override;

 private:
  void ArmTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer);
  void FireTimer(int id);

  std::unique_ptr<QObject> context_;
  std::map<int, QTimer*> timers_;  // owned by context_
  std::map<int, std::function<void()>> handlers_;
};

}  // namespace trawlix
