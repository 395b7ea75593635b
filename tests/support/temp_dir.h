#pragma once
// A fresh folder per test, removed afterwards, and small file helpers.

#include <string>
#include <vector>

namespace orvis::testing {

class TempDir {
 public:
  TempDir();
  // The path names `subfolder` (created) inside the fresh folder, so that
  // a data folder can carry a blank and Japanese in its name.
  explicit TempDir(const std::string& subfolder);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // With a trailing '/'.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + rel; }

 private:
  std::string root_;
  std::string path_;
};

// A data folder named as a Japanese operator may name it: every path that
// reaches a log must reach it in Shift-JIS.
inline const std::string kJapaneseFolderName = "監視 データ/";

// True when every byte of the text reads as CP932.
bool readsAsCp932(const std::string& text);

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
