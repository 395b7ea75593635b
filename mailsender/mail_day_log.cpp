#include "mail_day_log.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/day_log.h"
#include "platform/files.h"
#include "platform/open_file.h"

namespace orvis::postiva {

MailDayLog::MailDayLog(std::string folder, std::string tag, const platform::Clock& clock)
    : folder_(std::move(folder)), tag_(std::move(tag)), clock_(clock) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

MailDayLog::~MailDayLog() { close(); }

void MailDayLog::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  day_.clear();
  checkedSecond_ = -1;
}

bool MailDayLog::open(const std::string& day) {
  close();
  std::string path = folder_ + day + ".txt";
  platform::OpenFile file = platform::openFile(path, platform::OpenFor::Appending);
  if (!file.ok() && file.error() == ENOENT && platform::makeFolders(folder_))
    file = platform::openFile(path, platform::OpenFor::Appending);
  if (!file.ok()) return false;
  fd_ = file.release();
  day_ = day;
  return true;
}

void MailDayLog::write(std::string_view message) {
  platform::LocalTime t = clock_.now();
  std::string line = platform::formatLogLine(t, tag_, message);
  std::string day = platform::formatDay(t);
  int second = (t.hour * 60 + t.minute) * 60 + t.second;
  // The second round follows a file that was removed while it stood open;
  // that is looked at once a second, not for every line.
  // A line that finds no room (a full disk, a pipe in place of the day
  // file) goes to the standard error.
  auto lost = [&line] { platform::writeLostLine(line); };
  for (int round = 0; round < 2; ++round) {
    if ((fd_ < 0 || day != day_) && !open(day)) return lost();
    if (second != checkedSecond_) {
      struct stat st;
      if (::fstat(fd_, &st) != 0 || st.st_nlink == 0) {
        close();
        continue;
      }
      checkedSecond_ = second;
    }
    // One write in append mode lands whole at the end of the file, whoever
    // else appends at the same moment: no lock to wait for, no line lost.
    if (!platform::writeAll(fd_, line.data(), line.size())) lost();
    return;
  }
}

}  // namespace orvis::postiva
