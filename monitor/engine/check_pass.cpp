#include "check_pass.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "monitor/catalogue/job_keys.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

CheckPass::End CheckPass::run(int firstRow, int lastRow) {
  if (running()) {
    s_.log.write(SJIS("チェック処理中のため、新たなチェックは行いません。"));
    return End::AlreadyRunning;
  }
  firstRow = std::max(firstRow, 1);
  lastRow = std::min(lastRow, static_cast<int>(jobs_.size()));
  view_.setEditControlsEnabled(false);
  missingBaseline_.clear();
  if (const JobRecord* missing = refusedJob(firstRow, lastRow)) {
    missingBaseline_ = platform::trim(missing->number);
    if (ending()) return End::Interrupted;
    view_.setEditControlsEnabled(true);
    return End::BaselineMissing;
  }
  // (The job files' reads may have asked a question.)
  if (ending()) return End::Interrupted;

  state_.checkPassRunning = true;
  view_.setBusyMessage("");
  view_.showBusyPanel();
  for (int row = firstRow; row <= lastRow; ++row)
    jobs_[static_cast<size_t>(row - 1)].result = JobResult::NotChecked;
  platform::makeFolders(s_.path(kTempFolder));
  tray_.change(1);

  const bool completed = checkRows(firstRow, lastRow);
  state_.checkPassRunning = false;
  if (!completed) return End::Interrupted;

  list_.loadJobFiles();
  list_.fillGrid();
  view_.hideBusyPanel();
  // A stop of the automatic mode during the pass left the controls to us;
  // in the automatic mode they stay locked.
  view_.setEditControlsEnabled(state_.automaticMode == 0);
  tray_.change(0);
  return End::Completed;
}

bool CheckPass::checkRows(int firstRow, int lastRow) {
  // The rules each job was first checked under, for its retries.
  std::vector<std::optional<CompareRules>> rules(static_cast<size_t>(lastRow - firstRow + 1));
  for (int row = firstRow; row <= lastRow; ++row) {
    rules[static_cast<size_t>(row - firstRow)] = check_.check(static_cast<size_t>(row - 1));
    if (ending()) return false;
  }
  for (int sweep = 0; sweep < kRetrySweeps; ++sweep) {
    for (int row = firstRow; row <= lastRow; ++row) {
      const auto& chosen = rules[static_cast<size_t>(row - firstRow)];
      if (!stillUnanswered(row) || !chosen) continue;
      check_.retry(static_cast<size_t>(row - 1), *chosen);
      if (ending()) return false;
    }
  }
  for (int row = firstRow; row <= lastRow; ++row) {
    if (!stillUnanswered(row)) continue;
    alerts_.sendResponseErrorAlert(row);
    if (ending()) return false;
  }
  return true;
}

bool CheckPass::stillUnanswered(int row) const {
  const JobRecord* job = jobs_.atRow(row);
  return job && job->result == JobResult::NoResponse;
}

const JobRecord* CheckPass::refusedJob(int firstRow, int lastRow) {
  for (int row = firstRow; row <= lastRow; ++row) {
    const JobRecord& job = jobs_[static_cast<size_t>(row - 1)];
    // A job file removed since the load has no baseline either.
    if (!job.file.empty() && s_.ini.read(job.file, jobkey::kSection, jobkey::SOURCE) == "1")
      continue;
    s_.boxes.show(
        SJIS("№") + platform::trim(job.number) + SJIS("の比較元ソース取得を行ってください。"),
        "OrvisWatch", mb::OK);
    return &job;
  }
  return nullptr;
}

}  // namespace orvis
