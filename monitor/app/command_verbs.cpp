#include "command_verbs.h"

#include <sys/stat.h>

#include <set>

#include "monitor/catalogue/job_keys.h"
#include "monitor/catalogue/job_paths.h"
#include "monitor/shell/sys_log.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {

// Where a file stands now: every write of a job file puts a new file in
// place of the old (a new inode), so an unchanged stamp means not written.
struct FileStamp {
  ino_t inode = 0;
  timespec modified{};
  bool operator==(const FileStamp& o) const {
    return inode == o.inode && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec;
  }
};

FileStamp stampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {st.st_ino, st.st_mtim};
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const auto& w : words) text += (text.empty() ? "" : " ") + w;
  return text;
}

}  // namespace

MonitorHost CommandVerbs::unattended(const MonitorHost& host) {
  MonitorHost copy = host;
  // Nobody watches: no tray icon, and boxes logged with their default
  // answer. No mode is restored (that takes exactly one parameter).
  copy.start = StartInfo{};
  copy.start.parameter = "OrvisWatchService";
  return copy;
}

CommandVerbs::CommandVerbs(const MonitorHost& host, std::ostream& out, std::ostream& err)
    : out_(out), err_(err), monitor_(unattended(host), window_.views()) {
  // The tray code names the window in its lines, as in the service start.
  window_.setCaption(Monitor::kCaption);
  monitor_.stopRequest().setStopSequence([this] {
    monitor_.services().log.write(SJIS("コマンド中断:シグナル") + std::to_string(signal_));
  });
}

void CommandVerbs::interrupt(int signo) {
  if (signal_ == 0) signal_ = signo;
  monitor_.stopRequest().request();
}

int CommandVerbs::interrupted() const { return exitcode::kSignalBase + signal_; }

int CommandVerbs::run(const CommandLine& command) {
  if (signal_) return interrupted();
  const std::string verb = command.verb == CommandLine::Verb::Capture ? "--capture" : "--check";
  const SysLog& log = monitor_.services().log;
  log.write(SJIS("コマンド実行:") +
            platform::toCp932(joined(command.jobNumbers).empty()
                                  ? verb
                                  : verb + " " + joined(command.jobNumbers)));
  int status = exitcode::kCannotRun;
  monitor_.stopRequest().runAction([&] {
    monitor_.jobList().loadJobFiles();
    monitor_.jobList().fillGrid();
    if (signal_) return;
    auto blocks = rowsOf(command.jobNumbers);
    if (!blocks) return;
    status = command.verb == CommandLine::Verb::Capture ? capture(*blocks) : check(*blocks);
  });
  if (signal_) {
    err_ << "interrupted by signal " << signal_ << "\n";
    return interrupted();
  }
  // The verbs may be all that runs here (from cron): the log is kept to
  // VALIDDAY files as an automatic pass keeps it.
  const Services& s = monitor_.services();
  deleteOldLogFiles(log, "????????.txt", s.ini.read(s.path("ORVIS.ini"), "COMMON", "VALIDDAY"));
  log.write(SJIS("コマンド終了:終了コード=") + std::to_string(status));
  return status;
}

std::optional<std::vector<CommandVerbs::RowBlock>> CommandVerbs::rowsOf(
    const std::vector<std::string>& numbers) {
  const JobTable& jobs = monitor_.jobs();
  if (jobs.empty()) {
    err_ << "no job in " << monitor_.services().path(kJobFolder) << "\n";
    return std::nullopt;
  }
  std::set<int> rows;
  if (numbers.empty()) {
    for (int row = 1; row <= static_cast<int>(jobs.size()); ++row) rows.insert(row);
  } else {
    std::vector<std::string> unknown;
    for (const std::string& given : numbers) {
      const std::string wanted = platform::trim(platform::toCp932(given));
      int found = 0;
      for (int row = 1; row <= static_cast<int>(jobs.size()) && !found; ++row)
        if (platform::trim(jobs.atRow(row)->number) == wanted) found = row;
      if (found) {
        rows.insert(found);
      } else {
        unknown.push_back(given);
      }
    }
    if (!unknown.empty()) {
      err_ << "no such job: " << joined(unknown) << " (the jobs are the files of "
           << monitor_.services().path(kJobFolder) << ")\n";
      return std::nullopt;
    }
  }
  std::vector<RowBlock> blocks;
  for (int row : rows) {
    if (!blocks.empty() && blocks.back().second == row - 1) {
      blocks.back().second = row;
    } else {
      blocks.emplace_back(row, row);
    }
  }
  return blocks;
}

void CommandVerbs::select(const RowBlock& block) {
  window_.selectRows(block.first, block.second);
  monitor_.jobList().selectCell(0, block.first);
}

std::string CommandVerbs::jobFile(int row) const {
  const JobRecord* job = monitor_.jobs().atRow(row);
  return job ? job->file : std::string();
}

std::string CommandVerbs::jobFileValue(int row, const char* key) {
  const std::string path = jobFile(row);
  if (path.empty()) return {};
  return monitor_.services().ini.read(path, jobkey::kSection, key);
}

void CommandVerbs::report(int row, const std::string& status) {
  const JobRecord* job = monitor_.jobs().atRow(row);
  if (!job) return;
  out_ << platform::toUtf8(platform::trim(job->number)) << '\t' << status << '\t'
       << platform::toUtf8(job->name) << '\n';
}

int CommandVerbs::capture(const std::vector<RowBlock>& blocks) {
  bool all = true;
  for (const RowBlock& block : blocks) {
    select(block);
    // Only what this run wrote counts: an old baseline and an old SOURCE=1
    // that stayed because the writes failed are no capture.
    const std::vector<CaptureOutcome> outcomes = monitor_.capture().captureSelectedJobs();
    if (signal_) return interrupted();
    for (int row = block.first; row <= block.second; ++row) {
      const size_t at = static_cast<size_t>(row - block.first);
      const CaptureOutcome outcome =
          at < outcomes.size() ? outcomes[at] : CaptureOutcome::NotLaunched;
      std::string status = "captured";
      if (outcome != CaptureOutcome::Captured) {
        all = false;
        status = outcome == CaptureOutcome::NoSnapshot ? "no snapshot" : "not taken";
      }
      report(row, status);
    }
  }
  return all ? exitcode::kOk : exitcode::kNotAll;
}

int CommandVerbs::check(const std::vector<RowBlock>& blocks) {
  // All or nothing, as the button's pass over one selection: a job without
  // a baseline anywhere in the selection refuses it before any is checked.
  for (const RowBlock& block : blocks) {
    const JobRecord* refused = monitor_.checkPass().refusedJob(block.first, block.second);
    if (signal_) return interrupted();
    if (!refused) continue;
    err_ << "job " << platform::toUtf8(platform::trim(refused->number))
         << " has no baseline: capture it first (--capture)\n";
    return exitcode::kCannotRun;
  }
  bool changed = false;
  bool unanswered = false;
  for (const RowBlock& block : blocks) {
    std::vector<FileStamp> before;
    for (int row = block.first; row <= block.second; ++row) before.push_back(stampOf(jobFile(row)));
    // The manual check's pass, without the selection's questions: the rows
    // are known to hold jobs.
    const CheckPass::End end = monitor_.checkPass().run(block.first, block.second);
    if (signal_ || end == CheckPass::End::Interrupted) return interrupted();
    // (A baseline removed by hand since the selection was refused.)
    if (end != CheckPass::End::Completed) {
      err_ << "a job of the selection has no baseline: capture it first (--capture)\n";
      return exitcode::kCannotRun;
    }
    for (int row = block.first; row <= block.second; ++row) {
      const bool written =
          !(stampOf(jobFile(row)) == before[static_cast<size_t>(row - block.first)]);
      const std::string result = written ? jobFileValue(row, jobkey::CHECK) : std::string();
      std::string status = "not checked";
      if (result == "1") {
        status = "OK";
      } else if (result == "0") {
        status = "changed";
        changed = true;
      } else if (result == "R") {
        status = "no response";
      }
      if (status == "not checked" || status == "no response") unanswered = true;
      report(row, status);
    }
  }
  if (unanswered) return exitcode::kNoResponse;
  return changed ? exitcode::kNotAll : exitcode::kOk;
}

}  // namespace orvis
