#pragma once
// Work on history entries (a 64 MiB page takes seconds) run away from the
// window thread, so the window stays responsive; its end comes back on the
// window thread. Starting other work gives up the one that runs.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "monitor/history/work_progress.h"

class QThread;

namespace orvis::ui {

class HistoryTask : public QObject {
  Q_OBJECT
 public:
  using Work = std::function<void(WorkProgress&)>;

  explicit HistoryTask(QObject* parent = nullptr);
  // Gives up what runs and waits for it to notice.
  ~HistoryTask() override;

  // `work` runs on a thread of its own; `done` runs on this object's thread
  // once it has ended, unless other work was started meanwhile.
  void start(Work work, std::function<void()> done);
  void giveUp();
  bool running() const { return current_ != nullptr; }
  // How far the running work has come, 0 to 1000.
  int permille() const { return state_ ? state_->permille.load() : 0; }

 private:
  struct State : WorkProgress {
    std::atomic<bool> givenUp{false};
    std::atomic<int> permille{0};
    bool step(double done) override {
      permille = static_cast<int>(done * 1000);
      return !givenUp;
    }
  };

  std::shared_ptr<State> state_;
  QThread* current_ = nullptr;
  std::vector<QThread*> threads_;
};

}  // namespace orvis::ui
