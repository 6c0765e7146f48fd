#include "frontend/QtUiThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <exception>

namespace trawlix {

QtUiThread::QtUiThread() : context_(std::make_unique<QObject>()) {}

QtUiThread::~QtUiThread() = default;

bool QtUiThread::IsUiThread() const {
  return QThread::currentThread() == context_->thread();
}

void QtUiThread::Send(const std::function<void()>& call) {
  if (IsUiThread()) {
    call();
    return;
  }
  SentCall sent{&call, false, nullptr};
  {
    std::lock_guard lock(mutex_);
    sent_.push_back(&sent);
  }
  QMetaObject::invokeMethod(
      context_.get(), [this] { RunSentCalls(); }, Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&sent] { return sent.done; });
  if (sent.failure) std::rethrow_exception(sent.failure);
}

void QtUiThread::RunSentCalls() {
  for (;;) {
    SentCall* sent = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (sent_.empty()) return;
      sent = sent_.front();
      sent_.pop_front();
    }
    std::exception_ptr failure;
    try {
      (*sent->call)();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    sent->failure = failure;
    sent->done = true;
    done_.notify_all();
  }
}

void QtUiThread::SetTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer) {
  // From a worker this waits until the timer is armed, so a timer armed as a worker's last act
  // is in place before anyone sees the worker end.
  Send([&] { ArmTimer(id, delay, std::move(onTimer)); });
}

void QtUiThread::ArmTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer) {
  QTimer*& timer = timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(context_.get());
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, context_.get(), [this, id] { FireTimer(id); });
  }
  handlers_[id] = std::move(onTimer);
  timer->start(delay);
}

void QtUiThread::FireTimer(int id) {
  auto found = handlers_.find(id);
  if (found == handlers_.end()) return;
  std::function<void()> handler = std::move(found->second);
  handlers_.erase(found);
  if (handler) handler();
}

void QtUiThread::KillTimer(int id) {
  auto timer = timers_.find(id);
  if (timer != timers_.end()) timer->second->stop();
  handlers_.erase(id);
}

void QtUiThread::Pump() {
  QCoreApplication::processEvents();
}

}  // namespace trawlix
