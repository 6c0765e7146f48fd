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
  if (calls_.Push(std::move(call))) {
    QMetaObject::invokeMethod(
        context_.get(), [this] { Pump(); }, Qt::QueuedConnection);
  }
}

void QtUiThread::Pump() {
  calls_.RunAll();
}

}  // namespace trawlix
