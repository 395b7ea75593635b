#include "baseline_capture.h"

#include "generations.h"
#include "job_selection.h"
#include "monitor/catalogue/job_keys.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {
const char* const kCaption = "OrvisWatch";
}  // namespace

void BaselineCapture::captureSelectedJobs() {
  const auto rows = selectedJobRows(grid_, list_, jobs_, s_.boxes, s_.log);
  if (!rows) return;
  const auto [first, last] = *rows;

  view_.setEditControlsEnabled(false);
  view_.setBusyMessage("");
  view_.showBusyPanel();
  platform::makeFolders(s_.path(kTempFolder));
  // Rows past the end of the table hold no job.
  for (int row = first; row <= last && static_cast<size_t>(row) <= jobs_.size(); ++row) {
    captureRow(static_cast<size_t>(row - 1));
    // Asked to end: the capture stops here, the job files stay as they are.
    if (s_.stop.raised()) return;
  }
  list_.loadJobFiles();
  list_.fillGrid();
  view_.hideBusyPanel();
  view_.setEditControlsEnabled(true);

  // The list was loaded again: the rows now name the jobs as the files hold them.
  for (int row = first; row <= last && static_cast<size_t>(row) <= jobs_.size(); ++row) {
    const size_t job = static_cast<size_t>(row - 1);
    if (storedSource(job) != "1") {
      s_.boxes.show(failureMessage(platform::trim(jobs_[job].number)), kCaption, mb::OK);
      break;
    }
  }
}

void BaselineCapture::captureRow(size_t job) {
  const std::string number = jobs_[job].number;
  view_.setBusyMessage(SJIS("№") + number + SJIS("のサーバーと通信中・・"));
  const auto baseline = baselinePath(s_.dataFolder, number);
  const auto jobFile = jobFilePath(s_.dataFolder, number);
  if (!baseline || !jobFile) {
    // Its files would lie outside their folders: nothing is taken or written.
    s_.log.write(number +
                 SJIS("->ジョブ番号がファイル名に使えないため、比較元ソースを取得しません。"));
    return;
  }
  const std::string snapshot = acquisition_.snapshotPath();
  platform::removeFile(snapshot);
  // The old baseline is given up only once the new one is known: a capture
  // cut off by a crash or a hung fetch leaves the job as it was. It ends as
  // a capture that deleted the old baseline first: no generation of it.
  if (!acquisition_.acquireSnapshot(job)) {
    if (!s_.stop.raised()) platform::removeFile(*baseline);
    return;
  }

  if (!acquisition_.snapshotTaken()) {
    platform::removeFile(*baseline);
    s_.ini.write(*jobFile, jobkey::kSection, jobkey::SOURCE, "0");
  } else {
    platform::makeFolders(s_.path(kBaselineFolder));
    shiftGenerations(*baseline);
    platform::copyFile(snapshot, *baseline);
    s_.ini.write(*jobFile, jobkey::kSection, jobkey::SOURCE, "1");
  }
  platform::removeFile(snapshot);
  platform::removeFile(s_.path(kListingBatch));
}

std::string BaselineCapture::storedSource(size_t job) {
  const auto jobFile = jobFilePath(s_.dataFolder, jobs_[job].number);
  if (!jobFile) return std::string();
  return s_.ini.read(*jobFile, jobkey::kSection, jobkey::SOURCE);
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
