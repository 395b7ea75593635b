#include "history_task.h"

#include <QThread>
#include <algorithm>

namespace orvis::ui {

HistoryTask::HistoryTask(QObject* parent) : QObject(parent) {}

HistoryTask::~HistoryTask() {
  giveUp();
  for (QThread* thread : threads_) {
    thread->wait();
    delete thread;
  }
}

void HistoryTask::giveUp() {
  if (state_) state_->givenUp = true;
  current_ = nullptr;
}

void HistoryTask::start(Work work, std::function<void()> done) {
  giveUp();
  auto state = std::make_shared<State>();
  QThread* thread = QThread::create([state, work = std::move(work)] { work(*state); });
  state_ = state;
  current_ = thread;
  threads_.push_back(thread);
  connect(thread, &QThread::finished, this, [this, thread, state, done = std::move(done)] {
    threads_.erase(std::remove(threads_.begin(), threads_.end(), thread), threads_.end());
    thread->deleteLater();
    if (thread != current_ || state->givenUp) return;
    current_ = nullptr;
    done();
  });
  thread->start(QThread::LowPriority);
}

}  // namespace orvis::ui
