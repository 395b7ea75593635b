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
  if (const JobRecord* missing = firstWithoutBaseline(firstRow, lastRow)) {
    s_.boxes.show(
        SJIS("№") + platform::trim(missing->number) + SJIS("の比較元ソース取得を行ってください。"),
        "OrvisWatch", mb::OK);
    view_.setEditControlsEnabled(true);
    return End::BaselineMissing;
  }

  state_.checkPassRunning = true;
  view_.setBusyMessage("");
  view_.showBusyPanel();
  for (int row = firstRow; row <= lastRow; ++row)
    jobs_[static_cast<size_t>(row - 1)].result = JobResult::NotChecked;
  platform::makeFolders(s_.path(kTempFolder));
  tray_.change(1);

  checkRows(firstRow, lastRow);

  list_.loadJobFiles();
  list_.fillGrid();
  view_.hideBusyPanel();
  state_.checkPassRunning = false;
  // A stop of the automatic mode during the pass left the controls to us;
  // in the automatic mode they stay locked.
  view_.setEditControlsEnabled(state_.automaticMode == 0);
  tray_.change(0);
  return End::Completed;
}

void CheckPass::checkRows(int firstRow, int lastRow) {
  // The rules each job was first checked under, for its retries.
  std::vector<std::optional<CompareRules>> rules(static_cast<size_t>(lastRow - firstRow + 1));
  for (int row = firstRow; row <= lastRow; ++row)
    rules[static_cast<size_t>(row - firstRow)] = check_.check(static_cast<size_t>(row - 1));

  for (int sweep = 0; sweep < kRetrySweeps; ++sweep) {
    for (int row = firstRow; row <= lastRow; ++row) {
      const auto& chosen = rules[static_cast<size_t>(row - firstRow)];
      if (stillUnanswered(row) && chosen) check_.retry(static_cast<size_t>(row - 1), *chosen);
    }
  }
  for (int row = firstRow; row <= lastRow; ++row)
    if (stillUnanswered(row)) alerts_.sendResponseErrorAlert(row);
}

bool CheckPass::stillUnanswered(int row) const {
  const JobRecord* job = jobs_.atRow(row);
  return job && job->result == JobResult::NoResponse;
}

const JobRecord* CheckPass::firstWithoutBaseline(int firstRow, int lastRow) const {
  for (int row = firstRow; row <= lastRow; ++row) {
    const JobRecord& job = jobs_[static_cast<size_t>(row - 1)];
    const auto jobFile = jobFilePath(s_.dataFolder, job.number);
    if (!jobFile || s_.ini.read(*jobFile, jobkey::kSection, jobkey::SOURCE) != "1") return &job;
  }
  return nullptr;
}

}  // namespace orvis
