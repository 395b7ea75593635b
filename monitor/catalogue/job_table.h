#pragma once
// The in-memory job table: parallel text lists, one per job-file key,
// entry i of every list belonging to the job in grid row i + 1. Rebuilt
// from the job files on every load; between loads only the check engine
// writes its result and baseline columns.

#include <array>
#include <string>
#include <vector>

namespace orvis {

enum class JobCol : int {
  No = 0,
  Name = 1,
  UseUserMail = 2,
  UserMailHtml = 3,
  MailGroup = 4,
  UseProxy = 5,
  Uri = 6,
  Check = 7,   // result code: "1", "0", "R" during a pass, "-"
  Source = 8,  // baseline state: "1" or "-"
  ChkKobetsu = 9,
  ChkWord = 10,
  Type = 11,
  ChkHikaku = 12,
  ChkScript = 13,
  ChkComment = 14,
  ChkRef = 15,
  ChkSrc = 16,
  ChkAlt = 17,
  ChkHead = 18,
  Word = 19,
  ChkSubFolder = 20,
};
constexpr int kJobColumns = 21;

using JobRow = std::array<std::string, kJobColumns>;

class JobTable {
 public:
  // Number of jobs.
  size_t size() const { return lists_[0].size(); }
  bool empty() const { return size() == 0; }

  const std::string& get(JobCol col, size_t job) const {
    return lists_[static_cast<int>(col)][job];
  }
  void set(JobCol col, size_t job, std::string value) {
    lists_[static_cast<int>(col)][job] = std::move(value);
  }

  JobRow row(size_t job) const {
    JobRow r;
    for (int c = 0; c < kJobColumns; ++c) r[c] = lists_[c][job];
    return r;
  }
  void append(const JobRow& r) {
    for (int c = 0; c < kJobColumns; ++c) lists_[c].push_back(r[c]);
  }
  void clear() {
    for (auto& l : lists_) l.clear();
  }

 private:
  std::array<std::vector<std::string>, kJobColumns> lists_;
};

}  // namespace orvis
