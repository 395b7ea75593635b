#include "proc_process_lister.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

#include "bytes.h"
#include "codec.h"
#include "files.h"

namespace orvis::platform {
namespace {

std::string baseName(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<int> numericEntries(const std::string& root) {
  std::vector<int> pids;
  DIR* dir = ::opendir(root.c_str());
  if (!dir) return pids;
  while (dirent* e = ::readdir(dir)) {
    std::string_view name = e->d_name;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string_view::npos) continue;
    if (auto pid = parseInt(name); pid && *pid > 0) pids.push_back(*pid);
  }
  ::closedir(dir);
  std::sort(pids.begin(), pids.end());
  return pids;
}

struct StatLine {
  std::string comm;
  int parentPid = 0;
};

// "pid (comm) state ppid ...": comm may hold blanks and parentheses, so the
// fields after it are found from the last ')'.
std::optional<StatLine> parseStat(const std::string& text) {
  auto open = text.find('(');
  auto close = text.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
  StatLine out;
  out.comm = text.substr(open + 1, close - open - 1);
  std::string rest = text.substr(close + 1);
  size_t p = rest.find_first_not_of(' ');
  if (p == std::string::npos) return std::nullopt;
  p = rest.find(' ', p);  // past the state letter
  if (p == std::string::npos) return std::nullopt;
  size_t q = rest.find_first_not_of(' ', p);
  if (q == std::string::npos) return std::nullopt;
  size_t end = rest.find(' ', q);
  auto ppid = parseInt(rest.substr(q, end == std::string::npos ? std::string::npos : end - q));
  if (!ppid) return std::nullopt;
  out.parentPid = *ppid;
  return out;
}

std::optional<std::string> exeName(const std::string& folder) {
  std::error_code ec;
  std::string target = std::filesystem::read_symlink(folder + "exe", ec).string();
  if (ec || target.empty()) return std::nullopt;
  // A program replaced on disk while it runs keeps its name for us, so that
  // an upgrade does not read as a different program.
  const std::string deleted = " (deleted)";
  if (target.size() > deleted.size() && target.ends_with(deleted) && !pathExists(target)) {
    target.resize(target.size() - deleted.size());
  }
  return baseName(target);
}

std::optional<std::string> argv0Name(const std::string& folder) {
  auto cmdline = readFile(folder + "cmdline");
  if (!cmdline || cmdline->empty()) return std::nullopt;
  std::string argv0 = cmdline->substr(0, cmdline->find('\0'));
  if (argv0.empty()) return std::nullopt;
  return baseName(argv0);
}

}  // namespace

std::vector<ProcessEntry> ProcProcessLister::list() const {
  std::vector<ProcessEntry> out;
  std::string root = root_;
  if (root.empty() || root.back() != '/') root += '/';
  for (int pid : numericEntries(root)) {
    std::string folder = root + std::to_string(pid) + "/";
    // Gone between the listing and now: skipped, as a later snapshot would.
    auto stat = readFile(folder + "stat");
    if (!stat) continue;
    auto parsed = parseStat(*stat);
    if (!parsed) continue;
    std::optional<std::string> name = exeName(folder);
    if (!name) name = argv0Name(folder);
    if (!name) name = parsed->comm;
    out.push_back(ProcessEntry{pid, parsed->parentPid, toCp932(*name)});
  }
  return out;
}

}  // namespace orvis::platform
