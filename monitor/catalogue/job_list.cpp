#include "job_list.h"

#include "job_keys.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

namespace {

// Reads the keys of one job file. A file that reads cleanly is read and
// walked once; one that does not goes key by key through the retrying
// reader, so that each key gives its message and its default as before.
class JobReader {
 public:
  JobReader(const IniAccess& ini, const std::string& path) : ini_(ini), path_(path) {
    doc_ = ini.loadOnce(path);
    if (doc_) keys_ = doc_->section(jobkey::kSection);
  }
  std::string operator()(const char* key) {
    if (doc_) {
      std::string value = keys_.get(key).value_or(std::string());
      // The retrying reader takes a stored "retry" for a failed read.
      if (value != "retry") return value;
    }
    return ini_.read(path_, jobkey::kSection, key);
  }

 private:
  const IniAccess& ini_;
  const std::string& path_;
  std::optional<platform::IniDocument> doc_;
  platform::IniSection keys_;  // of doc_
};

std::string orDefault(std::string v, const char* fallback) { return v.empty() ? fallback : v; }

// The result list's picture for a result; -1 where the code is drawn as text.
int resultPicture(JobResult result) {
  switch (result) {
    case JobResult::NoChange:
      return 1;
    case JobResult::Changed:
      return 4;
    case JobResult::NoResponse:
      return 6;
    case JobResult::NotChecked:
      break;
  }
  return -1;
}

}  // namespace

void JobList::loadJob(const std::string& path) {
  JobReader read(ini_, path);
  // A switch that is present is taken as stored; only a missing or empty
  // one reads as off.
  auto stored = [&read](const char* key) {
    return StoredValue<Switch>::fromText(orDefault(read(key), "0"));
  };
  // The keys are read one after another in this order: each read of a file
  // that fails gives its own message.
  JobRecord job;
  job.number = read(jobkey::NO);
  job.target = read(jobkey::URI);
  job.name = read(jobkey::NAME);
  job.result = resultFromFile(read(jobkey::CHECK));
  job.baseline = baselineFromFile(read(jobkey::SOURCE));
  job.useProxy = stored(jobkey::USEPROXY);
  job.ownMail = stored(jobkey::USEUSERMAIL);
  job.htmlMail = stored(jobkey::USERMAILHTML);
  job.mailGroup = orDefault(read(jobkey::MAILGROUP), "0");
  job.ownCompareRules = stored(jobkey::CHKKOBETSU);
  job.compareContent = stored(jobkey::CHKHIKAKU);
  job.ignoreScript = stored(jobkey::CHKSCRIPT);
  job.ignoreComment = stored(jobkey::CHKCOMMENT);
  job.ignoreLinks = stored(jobkey::CHKREF);
  job.ignoreSrc = stored(jobkey::CHKSRC);
  job.ignoreAlt = stored(jobkey::CHKALT);
  job.ignoreHead = stored(jobkey::CHKHEAD);
  job.wordCheck = stored(jobkey::CHKWORD);
  job.word = read(jobkey::WORD);
  job.includeSubfolders = stored(jobkey::CHKSUBFOLDER);
  job.type = StoredValue<JobType>::fromText(orDefault(read(jobkey::TYPE), "URL"));
  // Such a job cannot be captured or checked, and keeps the automatic mode
  // from starting: the log names its file.
  if (platform::trim(job.number).empty())
    log_.write("Global," + platform::toCp932(path) + SJIS("にNOがありません。"));
  job.file = path;
  table_.append(std::move(job));
}

void JobList::loadJobFiles() {
  table_.clear();
  log_.write("Global," + SJIS("情報収集"));
  if (!platform::folderExists(folder_)) platform::makeFolders(folder_);
  for (const auto& name : platform::listFolder(folder_, "*.ini", false)) {
    const std::string path = folder_ + name;
    // A name that is not UTF-8 (Shift-JIS bytes from a Windows archive) is
    // passed over: the job's other files are named from its number in
    // UTF-8, so its names are to be converted once, as the guide says.
    if (!platform::isValidUtf8(name)) {
      log_.write("Global," + platform::peerTextToCp932(path) +
                 SJIS("はファイル名がUTF-8ではないため読み込みません。"));
      continue;
    }
    // A pipe, a device or a folder in place of a job file is not read: a
    // read could block or never end. The log says why the job is missing.
    if (!platform::fileExists(path)) {
      log_.write("Global," + platform::toCp932(path) +
                 SJIS("は通常のファイルではないため読み込みません。"));
      continue;
    }
    loadJob(path);
  }
}

void JobList::fillGrid() {
  log_.write("ListDisp():" + SJIS("開始"));
  const size_t n = table_.size();
  if (n == 0) {
    grid_.setRows(2);
    for (int c = 0; c < 12; ++c) grid_.setCell(1, c, "");
    shell_.setStatusText(0, "");
    return;
  }
  grid_.setRows(static_cast<int>(n) + 1);
  const GridFill fill(grid_);
  const std::string& mark = SJIS("○");
  const std::string none;
  // Emptied, then marked when on: one write of what it ends with.
  auto flag = [&](int row, int col, const StoredValue<Switch>& value) {
    grid_.setCell(row, col, value == Switch::On ? mark : none);
  };
  for (size_t i = 0; i < n; ++i) {
    const JobRecord& job = table_[i];
    const int row = static_cast<int>(i) + 1;
    grid_.setCell(row, 0, job.number);
    grid_.setCell(row, 6, job.target);
    grid_.setCell(row, 1, job.name);
    grid_.setCell(row, 7, resultCode(job.result));
    grid_.setCell(row, 8, baselineCode(job.baseline));
    flag(row, 5, job.useProxy);
    flag(row, 2, job.ownMail);
    flag(row, 3, job.htmlMail);
    grid_.setCell(row, 4, "");
    auto group = platform::parseInt(job.mailGroup);
    if (!group) {
      log_.write("ListDisp():" + SJIS("異常終了"));
      return;
    }
    grid_.setCell(row, 4, std::to_string(static_cast<long>(*group) + 1));
    flag(row, 9, job.ownCompareRules);
    flag(row, 10, job.wordCheck);
    grid_.setCell(row, 11, job.type.text());
  }
}

void JobList::reload() {
  shell_.setBusyMessage(SJIS("情報更新中です。お待ちください・・"));
  shell_.showBusyPanel();
  loadJobFiles();
  fillGrid();
  shell_.hideBusyPanel();
}

CellLook JobList::cellLook(int row, int column, bool selected) const {
  CellLook look{0xFFFFEC, 0x000000};
  if (const JobRecord* job = table_.atRow(row)) {
    if (job->result == JobResult::Changed) look.background = 0xFFD9EC;
    if (column == 7) {
      if (int picture = resultPicture(job->result); picture >= 0) {
        look.list = CellLook::Picture::Result;
        look.picture = picture;
      }
    } else if (column == 8 && job->baseline == BaselineState::Captured) {
      look.list = CellLook::Picture::Result;
      look.picture = 1;
    } else if (column == 1 && job->name == SJIS("重要")) {
      look.list = CellLook::Picture::Mark;
      look.picture = 0;
    }
  }
  if (row == 0) {
    look.background = 0x0000FF;
    look.textColor = 0xFFFFFF;
  } else if (selected) {
    look.background = 0x000080;
    look.textColor = 0xFFFFFF;
  }
  return look;
}

}  // namespace orvis
