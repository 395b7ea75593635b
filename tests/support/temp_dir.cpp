#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis::testing {

TempDir::TempDir() {
  std::string base = std::filesystem::temp_directory_path().string() + "/orvis-test-XXXXXX";
  std::vector<char> name(base.begin(), base.end());
  name.push_back('\0');
  if (!::mkdtemp(name.data())) std::abort();
  root_ = path_ = std::string(name.data()) + "/";
}

TempDir::TempDir(const std::string& subfolder) : TempDir() {
  path_ = root_ + subfolder;
  if (path_.back() != '/') path_ += '/';
  platform::makeFolders(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

bool readsAsCp932(const std::string& text) {
  return platform::toUtf8(text).find("\xEF\xBF\xBD") == std::string::npos;
}

void writeText(const std::string& path, const std::string& bytes) {
  auto slash = path.rfind('/');
  if (slash != std::string::npos) platform::makeFolders(path.substr(0, slash));
  platform::writeFile(path, bytes);
}

std::string readText(const std::string& path) {
  auto r = platform::readFile(path);
  return r ? *r : std::string("<missing>");
}

std::vector<std::string> readLines(const std::string& path) {
  auto r = platform::readFile(path);
  if (!r) return {};
  return platform::splitLines(*r);
}

std::vector<std::string> readLogLines(const std::string& folder, bool stripStamp) {
  std::vector<std::string> lines;
  for (const auto& name : platform::listFolder(folder, "????????.txt")) {
    for (auto& line : readLines(folder + (folder.back() == '/' ? "" : "/") + name)) {
      if (stripStamp && line.size() >= 24) line = line.substr(24);
      lines.push_back(line);
    }
  }
  return lines;
}

std::string sj(const std::string& utf8) { return platform::toCp932(utf8); }

}  // namespace orvis::testing
