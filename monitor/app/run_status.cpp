#include "run_status.h"

#include <unistd.h>

#include "metrics_text.h"
#include "monitor/catalogue/job_summary.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

long long RunStatus::nowMs() const { return platform::epochMs(s_.clock.now()); }

void RunStatus::noteMode(long long now) {
  const bool automatic = state_.automaticMode == 1;
  if (automatic != record_.automatic || record_.modeSinceMs == 0) record_.modeSinceMs = now;
  record_.automatic = automatic;
  record_.periodMs = timers_.check.interval();
  // The check timer counts a whole period from each start: the mode's, and
  // the end of each pass.
  if (automatic && timers_.check.enabled()) {
    record_.nextDueMs = now + timers_.check.interval();
  } else {
    record_.nextDueMs.reset();
  }
}

void RunStatus::monitorStarted() {
  const long long now = nowMs();
  // The last pass of the monitor before this one (a restart) stays the
  // last pass until this one's first.
  if (auto text = platform::readFile(s_.path(RunRecord::kFileName), platform::kSettingsFileLimit)) {
    if (auto earlier = RunRecord::parse(*text)) {
      record_.passStartMs = earlier->passStartMs;
      record_.passEndMs = earlier->passEndMs;
      record_.refusal = earlier->refusal;
      record_.refusedJob = earlier->refusedJob;
    }
  }
  record_.pid = static_cast<int>(::getpid());
  record_.startedMs = now;
  started_ = true;
  noteMode(now);
  write();
}

void RunStatus::modeChanged() {
  noteMode(nowMs());
  if (started_) write();
}

void RunStatus::automaticPassStarting() { passStartMs_ = nowMs(); }

void RunStatus::automaticPassEnded(CheckPass::End end, const std::string& refusedJob) {
  const long long now = nowMs();
  record_.passStartMs = passStartMs_;
  record_.passEndMs = now;
  record_.refusal = RunRecord::Refusal::None;
  record_.refusedJob.clear();
  if (end == CheckPass::End::BaselineMissing) {
    record_.refusal = RunRecord::Refusal::NoBaseline;
    record_.refusedJob = refusedJob;
  } else if (end == CheckPass::End::AlreadyRunning) {
    record_.refusal = RunRecord::Refusal::PassRunning;
  }
  // (A pass that waited for a question may have seen the mode stopped.)
  noteMode(now);
  if (!started_) return;
  write();
  writeMetrics();
}

void RunStatus::write() {
  record_.writtenMs = nowMs();
  const std::string path = s_.path(RunRecord::kFileName);
  if (!platform::writeFileAtomic(path, record_.serialize()))
    s_.log.write("Global," + platform::toCp932(path) + SJIS("を書き込めません。"));
}

std::string RunStatus::metricsPath() const {
  const std::string& given = settings_.metricsFile;
  if (given.empty()) return {};
  const std::string path = platform::toUtf8(given);
  // A relative path lies in the data folder.
  return path.front() == '/' ? path : s_.dataFolder + path;
}

void RunStatus::writeMetrics() {
  const std::string path = metricsPath();
  if (path.empty()) return;
  const std::string text = metricsText(record_, readJobSummaries(s_.dataFolder), s_.counters);
  if (!platform::writeFileAtomic(path, text))
    s_.log.write("Global,METRICSFILE=" + settings_.metricsFile + SJIS("を書き込めません。"));
}

}  // namespace orvis
