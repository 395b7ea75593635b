#include "job_list.h"

#include "job_keys.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

const JobGridColumn kJobGridColumns[12] = {
    {"№", 60},      {"名称", 150}, {"ﾕｰｻﾞML", 45},        {"HTML", 45},
    {"MLGRP", 45},  {"PROXY", 45}, {"チェック対象", 365}, {"結果", 45},
    {"比較元", 45}, {"個別", 45},  {"ﾜｰﾄﾞ", 45},          {"TYPE", 45},
};

namespace {

// Reads the keys of one job file. A file that reads cleanly is read once;
// one that does not goes key by key through the retrying reader, so that
// each key gives its message and its default as before.
class JobReader {
 public:
  JobReader(const Services& s, const std::string& path) : s_(s), path_(path) {
    doc_ = s.ini.loadOnce(path);
  }
  std::string operator()(const char* key) {
    if (doc_) {
      std::string value = doc_->get(jobkey::kSection, key).value_or(std::string());
      // The retrying reader takes a stored "retry" for a failed read.
      if (value != "retry") return value;
    }
    return s_.ini.IniReadRetry(path_, jobkey::kSection, key);
  }

 private:
  const Services& s_;
  const std::string& path_;
  std::optional<platform::IniDocument> doc_;
};

std::string orDefault(std::string v, const char* fallback) { return v.empty() ? fallback : v; }

}  // namespace

void JobList::loadJob(const std::string& path) {
  JobReader read(s_, path);
  JobRow r;
  auto set = [&r](JobCol c, std::string v) { r[static_cast<int>(c)] = std::move(v); };
  set(JobCol::No, read(jobkey::NO));
  set(JobCol::Uri, read(jobkey::URI));
  set(JobCol::Name, read(jobkey::NAME));
  std::string check = read(jobkey::CHECK);
  set(JobCol::Check, (check == "1" || check == "0") ? check : "-");
  set(JobCol::Source, read(jobkey::SOURCE) == "1" ? "1" : "-");
  set(JobCol::UseProxy, orDefault(read(jobkey::USEPROXY), "0"));
  set(JobCol::UseUserMail, orDefault(read(jobkey::USEUSERMAIL), "0"));
  set(JobCol::UserMailHtml, orDefault(read(jobkey::USERMAILHTML), "0"));
  set(JobCol::MailGroup, orDefault(read(jobkey::MAILGROUP), "0"));
  set(JobCol::ChkKobetsu, orDefault(read(jobkey::CHKKOBETSU), "0"));
  set(JobCol::ChkHikaku, orDefault(read(jobkey::CHKHIKAKU), "0"));
  set(JobCol::ChkScript, orDefault(read(jobkey::CHKSCRIPT), "0"));
  set(JobCol::ChkComment, orDefault(read(jobkey::CHKCOMMENT), "0"));
  set(JobCol::ChkRef, orDefault(read(jobkey::CHKREF), "0"));
  set(JobCol::ChkSrc, orDefault(read(jobkey::CHKSRC), "0"));
  set(JobCol::ChkAlt, orDefault(read(jobkey::CHKALT), "0"));
  set(JobCol::ChkHead, orDefault(read(jobkey::CHKHEAD), "0"));
  set(JobCol::ChkWord, orDefault(read(jobkey::CHKWORD), "0"));
  set(JobCol::Word, read(jobkey::WORD));
  set(JobCol::ChkSubFolder, orDefault(read(jobkey::CHKSUBFOLDER), "0"));
  set(JobCol::Type, orDefault(read(jobkey::TYPE), "URL"));
  table_.append(r);
}

void JobList::catalogueToList() {
  table_.clear();
  s_.WriteSysLog("Global," + SJIS("情報収集"));
  const std::string folder = s_.path("info/");
  if (!platform::folderExists(folder)) platform::makeFolders(folder);
  for (const auto& name : platform::listFolder(folder, "*.ini")) loadJob(folder + name);
}

void JobList::ListDisp() {
  s_.WriteSysLog("ListDisp():" + SJIS("開始"));
  const size_t n = table_.size();
  if (n == 0) {
    grid_.setRows(2);
    for (int c = 0; c < 12; ++c) grid_.setCell(1, c, "");
    shell_.setStatusText(0, "");
    return;
  }
  grid_.setRows(static_cast<int>(n) + 1);
  const std::string& mark = SJIS("○");
  auto flag = [&](int row, int col, JobCol key, size_t job) {
    grid_.setCell(row, col, "");
    if (table_.get(key, job) == "1") grid_.setCell(row, col, mark);
  };
  for (size_t job = 0; job < n; ++job) {
    const int row = static_cast<int>(job) + 1;
    grid_.setCell(row, 0, table_.get(JobCol::No, job));
    grid_.setCell(row, 6, table_.get(JobCol::Uri, job));
    grid_.setCell(row, 1, table_.get(JobCol::Name, job));
    grid_.setCell(row, 7, table_.get(JobCol::Check, job));
    grid_.setCell(row, 8, table_.get(JobCol::Source, job));
    flag(row, 5, JobCol::UseProxy, job);
    flag(row, 2, JobCol::UseUserMail, job);
    flag(row, 3, JobCol::UserMailHtml, job);
    grid_.setCell(row, 4, "");
    auto group = platform::parseInt(table_.get(JobCol::MailGroup, job));
    if (!group) {
      s_.WriteSysLog("ListDisp():" + SJIS("異常終了"));
      return;
    }
    grid_.setCell(row, 4, std::to_string(static_cast<long>(*group) + 1));
    flag(row, 9, JobCol::ChkKobetsu, job);
    flag(row, 10, JobCol::ChkWord, job);
    grid_.setCell(row, 11, table_.get(JobCol::Type, job));
  }
}

void JobList::reload() {
  shell_.setBusyMessage(SJIS("情報更新中です。お待ちください・・"));
  shell_.StartPanel();
  catalogueToList();
  ListDisp();
  shell_.EndPanel();
}

CellLook JobList::sg1DrawCell(int row, int column, bool selected) const {
  CellLook look{0xFFFFEC, 0x000000};
  if (row > 0 && !table_.empty() && static_cast<size_t>(row - 1) < table_.size()) {
    const size_t job = static_cast<size_t>(row - 1);
    const std::string& result = table_.get(JobCol::Check, job);
    if (result == "0") look.background = 0xFFD9EC;
    if (column == 7) {
      int picture = result == "1" ? 1 : result == "0" ? 4 : result == "R" ? 6 : -1;
      if (picture >= 0) {
        look.list = CellLook::Picture::Result;
        look.picture = picture;
      }
    } else if (column == 8 && table_.get(JobCol::Source, job) == "1") {
      look.list = CellLook::Picture::Result;
      look.picture = 1;
    } else if (column == 1 && table_.get(JobCol::Name, job) == SJIS("重要")) {
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
