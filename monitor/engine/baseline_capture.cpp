#include "baseline_capture.h"

#include "generations.h"
#include "job_selection.h"
#include "monitor/catalogue/job_key_write.h"
#include "monitor/catalogue/job_keys.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {
const char* const kCaption = "OrvisWatch";
}  // namespace

std::vector<CaptureOutcome> BaselineCapture::captureSelectedJobs() {
  std::vector<CaptureOutcome> outcomes;
  const auto rows = selectedJobRows(grid_, list_, jobs_, s_.boxes, s_.log);
  if (!rows) return outcomes;
  const auto [first, last] = *rows;

  view_.setEditControlsEnabled(false);
  view_.setBusyMessage("");
  view_.showBusyPanel();
  platform::makeFolders(s_.path(kTempFolder));
  // Rows past the end of the table hold no job.
  for (int row = first; row <= last && static_cast<size_t>(row) <= jobs_.size(); ++row) {
    outcomes.push_back(captureRow(static_cast<size_t>(row - 1)));
    // Asked to end: the capture stops here, the job files stay as they are.
    if (s_.stop.raised()) return outcomes;
  }
  list_.loadJobFiles();
  list_.fillGrid();
  view_.hideBusyPanel();
  view_.setEditControlsEnabled(true);

  // The list was loaded again: the rows now name the jobs as the files hold them.
  // A job whose writes failed keeps the SOURCE of an earlier capture, which
  // must not pass for this one's.
  for (int row = first; row <= last && static_cast<size_t>(row) <= jobs_.size(); ++row) {
    const size_t job = static_cast<size_t>(row - 1);
    const size_t at = static_cast<size_t>(row - first);
    const bool notWritten = at < outcomes.size() && outcomes[at] == CaptureOutcome::NotWritten;
    if (notWritten || storedSource(job) != "1") {
      s_.boxes.show(failureMessage(platform::trim(jobs_[job].number)), kCaption, mb::OK);
      break;
    }
  }
  return outcomes;
}

CaptureOutcome BaselineCapture::captureRow(size_t job) {
  // A copy: messages run during the acquisition.
  const JobRecord record = jobs_[job];
  const std::string& number = record.number;
  view_.setBusyMessage(SJIS("№") + number + SJIS("のサーバーと通信中・・"));
  const auto baseline = baselinePath(s_.dataFolder, number);
  if (!baseline || record.file.empty()) {
    // Its files would lie outside their folders: nothing is taken or written.
    s_.log.write(number +
                 SJIS("->ジョブ番号がファイル名に使えないため、比較元ソースを取得しません。"));
    return CaptureOutcome::NotWritten;
  }
  const std::string snapshot = acquisition_.snapshotPath();
  platform::removeFile(snapshot);
  // The old baseline is given up only once the new one is known: a capture
  // cut off by a crash or a hung fetch leaves the job as it was. It ends as
  // a capture that deleted the old baseline first: no generation of it.
  if (!acquisition_.acquireSnapshot(job)) {
    if (!s_.stop.raised()) platform::removeFile(*baseline);
    return CaptureOutcome::NotLaunched;
  }

  CaptureOutcome outcome = CaptureOutcome::NoSnapshot;
  if (!acquisition_.snapshotTaken()) {
    platform::removeFile(*baseline);
    writeJobKey(s_.ini, s_.log, record, jobkey::SOURCE, "0");
  } else {
    platform::makeFolders(s_.path(kBaselineFolder));
    shiftGenerations(*baseline);
    // A baseline that cannot be stored leaves the old one and its SOURCE
    // as they were: the job is checked as before, and this capture failed.
    outcome = CaptureOutcome::NotWritten;
    if (!platform::copyFile(snapshot, *baseline)) {
      s_.log.write(number + SJIS("->比較元ソースを保存できません:") + platform::toCp932(*baseline));
    } else if (writeJobKey(s_.ini, s_.log, record, jobkey::SOURCE, "1") == 0) {
      outcome = CaptureOutcome::Captured;
    }
  }
  platform::removeFile(snapshot);
  platform::removeFile(s_.path(kListingBatch));
  return outcome;
}

std::string BaselineCapture::storedSource(size_t job) {
  const std::string& file = jobs_[job].file;
  return file.empty() ? std::string() : s_.ini.read(file, jobkey::kSection, jobkey::SOURCE);
}

std::string BaselineCapture::failureMessage(const std::string& jobNumber) const {
  return SJIS("№") + jobNumber + SJIS("のソース取得に失敗しました。") + "\r\n" +
         SJIS("次の確認を行ってください。") + "\r\n\r\n" +
         SJIS(
             "・指定のURLは正しいですか？「URIを画面でチェック」ボタンを押下してご確認をお願いしま"
             "す。") +
         "\r\n" +
         SJIS("・ORVISのインストールパスにスペースが入っているフォルダ名がありませんか？") +
         "\r\n" + SJIS("・JRE5（JavaRuntimeEnvironment）以上がセットアップされていますか？") +
         "\r\n" + SJIS("・インターネット環境(PROXYにご注意)に接続されていますか？") + "\r\n" +
         SJIS("・指定のドライブは正しいですか？") + "\r\n" +
         SJIS("・パスワードで保護されたURLではありませんか？");
}

}  // namespace orvis
