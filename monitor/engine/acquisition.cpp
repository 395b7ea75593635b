#include "acquisition.h"

#include <cstdio>

#include "disk_free_space.h"
#include "file_listing.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/open_file.h"
#include "platform/process_wait.h"

namespace orvis {
namespace {

constexpr int kSettleMs = 500;

std::string upTo(const std::string& text, char stop) { return text.substr(0, text.find(stop)); }

}  // namespace

std::string Acquisition::snapshotPath() const { return s_.path(kSnapshotFile); }

bool Acquisition::snapshotTaken() const {
  auto size = platform::fileSize(snapshotPath());
  return size && *size > 0;
}

std::string Acquisition::fetchCommandLine(const std::string& uri,
                                          const std::string& useProxy) const {
  // Every word quoted as the launcher splits it, so that no address and no
  // data folder (blanks, double quotes) can shift the output path; the
  // proxy flag is "1" or "0" and nothing else, whatever the job file holds.
  return platform::quoteArgument(s_.program("urlcheck")) + " " + platform::quoteArgument(uri) +
         " " + platform::quoteArgument(snapshotPath()) + " " + (useProxy == "1" ? "1" : "0");
}

std::unique_ptr<platform::ProcessHandle> Acquisition::startFetch(const JobRecord& job) {
  auto started = s_.launcher.launch(fetchCommandLine(job.target, job.useProxy.text()),
                                    s_.dataFolder, platform::WindowMode::Hidden);
  // A job that is never checked must not go unnoticed: the log says why.
  if (!started) {
    s_.log.write(job.number + SJIS("->urlcheckを起動できません:") + started.error);
    ++s_.counters.fetchesFailed;
  }
  return std::move(started.handle);
}

void Acquisition::writeProcessSnapshot() {
  std::string text;
  char numbers[32];
  for (const auto& p : s_.processes.list()) {
    std::snprintf(numbers, sizeof numbers, "%.6d %.6d ", p.pid, p.parentPid);
    text += numbers;
    // One line per process, whatever its name holds.
    for (char c : upTo(p.name, '\0')) text += (c == '\r' || c == '\n') ? '?' : c;
    text += "\r\n";
  }
  platform::writeFile(snapshotPath(), text);
}

void Acquisition::writeDriveSnapshot(const std::string& uri) {
  const std::string mountPath = platform::toUtf8(upTo(uri, ':'));
  const int64_t freeMb = freeMegabytes(s_.disks, mountPath);
  // Below 1 MB, or no such disk, there is no snapshot: a response error.
  if (freeMegabytes(s_.disks, mountPath) >= 1)
    platform::writeFile(snapshotPath(), std::to_string(freeMb) + "\r\n");
}

void Acquisition::writeFileSnapshot(const std::string& uri, bool subfolders) {
  // Written as it is taken: a listing of many files is never held whole.
  const std::string path = snapshotPath();
  platform::OpenFile file = platform::openFile(path, platform::OpenFor::Writing);
  if (!file.ok()) return;
  FileListing listing(s_.dataFolder, s_.pump, s_.stop);
  const bool whole =
      listing.listTo(platform::toUtf8(uri), subfolders, [&file](std::string_view piece) {
        return platform::writeAll(file.fd(), piece.data(), piece.size());
      });
  file.reset();
  // Half a listing (given up, or a full disk) must not pass for a snapshot.
  if (!whole) platform::removeFile(path);
}

bool Acquisition::acquireSnapshot(size_t job) {
  if (job >= jobs_.size()) return false;
  platform::removeFile(snapshotPath());
  // A copy: messages run below, and nothing they do may pull the row away.
  const JobRecord record = jobs_[job];
  const std::optional<JobType> type = record.type.known();
  std::unique_ptr<platform::ProcessHandle> child;
  if (type == JobType::Url) {
    child = startFetch(record);
    if (!child) return false;
  } else if (type == JobType::Proc) {
    writeProcessSnapshot();
  } else if (type == JobType::Drive) {
    writeDriveSnapshot(record.target);
  } else if (type != JobType::File) {
    s_.log.write(record.number + SJIS("->チェックタイプが不明です->") + record.type.text());
    return false;
  }

  s_.log.write(SJIS("起動成功"));
  // Asked to end meanwhile: the fetcher is ended (and gone before we go
  // on), its page is of no use any more and a late write could pass for
  // the next snapshot.
  auto givenUp = [&child] {
    if (child) child->kill();
    return false;
  };
  if (!platform::letMessagesRun(s_.pump, s_.stop)) return givenUp();
  s_.clock.sleepMs(kSettleMs);

  if (child) {
    const uint32_t answer =
        platform::waitPumping(*child, s_.pump, s_.stop, s_.clock, kFetchLimitMs);
    if (answer == platform::kWaitInterrupted) return givenUp();
    if (answer == platform::kWaitTimeout) {
      child->kill();
      // Whatever it left is no answer; nothing of it comes after this.
      platform::removeFile(snapshotPath());
      s_.log.write(record.number + SJIS("->urlcheckが") + std::to_string(kFetchLimitMs / 1000) +
                   SJIS("秒以内に終わらないため終了させました。"));
      ++s_.counters.fetchesFailed;
    } else if (child->exitCode() != 0) {
      ++s_.counters.fetchesFailed;
    }
    child->close();
  }
  if (type == JobType::File)
    writeFileSnapshot(record.target, record.includeSubfolders == Switch::On);
  return !s_.stop.raised();
}

}  // namespace orvis
