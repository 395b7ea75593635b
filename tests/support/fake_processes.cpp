#include "fake_processes.h"

namespace orvis::testing {
namespace {

class FakeProcess : public platform::ProcessHandle {
 public:
  FakeProcess(FakeLauncher& owner, FakeLauncher::Launch launch)
      : owner_(owner), launch_(std::move(launch)), left_(owner.waitsBeforeEnd) {}
  uint32_t wait(int) override {
    ++owner_.waits;
    if (closed_) return platform::kWaitFailed;
    if (owner_.onWait) owner_.onWait();
    if (left_ > 0) {
      --left_;
      return platform::kWaitTimeout;
    }
    if (!ended_) {
      ended_ = true;
      if (owner_.onRun) owner_.onRun(launch_);
    }
    return platform::kWaitObject0;
  }
  void close() override {
    if (!closed_) ++owner_.closes;
    closed_ = true;
  }
  void terminate() override {
    if (!closed_ && !ended_) ++owner_.terminations;
    close();
  }
  int pid() const override { return 4242; }
  std::optional<int> exitCode() const override {
    return ended_ ? std::optional<int>(owner_.exitStatus) : std::nullopt;
  }

 private:
  FakeLauncher& owner_;
  FakeLauncher::Launch launch_;
  int left_;
  bool ended_ = false;
  bool closed_ = false;
};

}  // namespace

platform::LaunchResult FakeLauncher::launch(const std::string& commandLine,
                                            const std::string& workingFolder,
                                            platform::WindowMode mode) {
  launches.push_back({commandLine, workingFolder, mode});
  platform::LaunchResult r;
  if (failing) {
    r.error = "cannot start";
    return r;
  }
  r.handle = std::make_unique<FakeProcess>(*this, launches.back());
  return r;
}

}  // namespace orvis::testing
