#include "frontend/QtUiThread.h"

#include <QObject>
#include <QThread>

namespace trawlix {

QtUiThread::QtUiThread() : context_(std::make_unique<QObject>()) {}

QtUiThread::~QtUiThread() = default;

bool QtUiThread::IsUiThread() const {
  return QThread::currentThread() == context_->thread();
}

void QtUiThread::Post(std::function<void()> call) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    wake = calls_.empty();  // one wake-up serves everything queued behind it
    calls_.push_back(std::move(call));
  }
  if (wake) {
    QMetaObject::invokeMethod(
        context_.get(), [this] { Pump(); }, Qt::QueuedConnection);
  }
}

void QtUiThread::Pump() {
  for (;;) {
    std::function<void()> call;
    {
      std::lock_guard lock(mutex_);
      if (calls_.empty()) return;
      call = std::move(calls_.front());
      calls_.pop_front();
    }
    call();
  }
}

}  // namespace trawlix
