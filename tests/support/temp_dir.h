#pragma once
// A fresh folder per test, removed afterwards, and small file helpers.

#include <string>
#include <vector>

namespace orvis::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // With a trailing '/'.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + rel; }

 private:
  std::string path_;
};

// Writes the file, creating its folders.
void writeText(const std::string& path, const std::string& bytes);
// The whole file, or "<missing>" when it cannot be read.
std::string readText(const std::string& path);
// The lines of a CR LF file without their CR LF.
std::vector<std::string> readLines(const std::string& path);
// The lines of every day file in a log folder, in file order; with
// `stripStamp`, each line without its "yyyy/mm/dd,hh:nn:ss.mmm," prefix.
std::vector<std::string> readLogLines(const std::string& folder, bool stripStamp = true);
// UTF-8 literal to CP932 bytes (shorthand for tests).
std::string sj(const std::string& utf8);

}  // namespace orvis::testing
