// The FILE snapshot taken from real folder trees.

#include "monitor/engine/file_listing.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "monitor/engine/wildcard_mask.h"
#include "platform/bytes.h"
#include "platform/files.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

// Stamps are local time; the tests pin the zone so that they can name them.
class UtcZone {
 public:
  UtcZone() {
    const char* tz = std::getenv("TZ");
    if (tz) old_ = tz;
    had_ = tz != nullptr;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  ~UtcZone() {
    if (had_)
      ::setenv("TZ", old_.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

// 2026/12/07 09:05:03 UTC plus some seconds.
constexpr time_t kBase = 1796634303;

void file(const std::string& path, time_t mtime = kBase) {
  writeText(path, "x");
  timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

class FileListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = dir.path() + "tree";
    file(root + "/b.txt", kBase + 2);
    file(root + "/a.txt", kBase + 1);
    file(root + "/Z.txt");
    file(root + "/.hidden.txt");
    file(root + "/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt");  // 日本語.txt
    file(root + "/sub1/x.log", kBase + 60);
    file(root + "/sub1/deeper/y.txt", kBase + 3600);
    file(root + "/.git/config");
    platform::makeFolders(root + "/sub0");
    std::filesystem::create_directory_symlink(root + "/sub1", root + "/link-to-sub1");
    std::filesystem::create_symlink(root + "/nowhere", root + "/dangling");
  }

  std::vector<std::string> list(const std::string& target, bool subfolders) {
    std::string text = FileListing(dir.path(), pump, stop).list(target, subfolders).value();
    EXPECT_TRUE(text.ends_with("\r\n"));
    return platform::splitLines(text);
  }
  std::string line(const std::string& stamp, const std::string& rel) {
    return stamp + "@" + root + "/" + rel;
  }

  UtcZone utc;
  TempDir dir;
  FakePump pump;
  platform::StopFlag stop;
  std::string root;
  const std::string japanese = sj("日本語.txt");
};

TEST_F(FileListingTest, FolderTreeInListingOrderWithFilesBeforeSubFolders) {
  const std::vector<std::string> expected = {
      line("2026/12/07 09:05:03", "Z.txt"),
      line("2026/12/07 09:05:04", "a.txt"),
      line("2026/12/07 09:05:05", "b.txt"),
      line("yyyy/mm/dd hh:nn:ss", "dangling"),
      line("2026/12/07 09:05:03", japanese),
      line("2026/12/07 09:06:03", "sub1/x.log"),
      line("2026/12/07 10:05:03", "sub1/deeper/y.txt"),
  };
  EXPECT_EQ(list(root, true), expected);
  // Without sub-folders only the folder's own files; a trailing '/' and a
  // detour through ".." name the same folder.
  const std::vector<std::string> own(expected.begin(), expected.begin() + 5);
  EXPECT_EQ(list(root + "/", false), own);
  EXPECT_EQ(list(root + "/sub1/../", false), own);
}

TEST_F(FileListingTest, NothingListedIsTheLoneAt) {
  for (const std::string& target : {root + "/sub0", root + "/missing", root + "/missing/*.txt",
                                    root + "/*.doc", std::string()}) {
    EXPECT_EQ(FileListing(dir.path(), pump, stop).list(target, true), "@\r\n") << target;
  }
}

TEST_F(FileListingTest, FilePathListsThatFileAndWithSubFoldersEveryNamesake) {
  EXPECT_EQ(list(root + "/a.txt", false),
            std::vector<std::string>{line("2026/12/07 09:05:04", "a.txt")});
  // ASCII letters match without regard to case, as on Windows.
  EXPECT_EQ(list(root + "/A.TXT", false),
            std::vector<std::string>{line("2026/12/07 09:05:04", "a.txt")});
  // dir /S with a name finds it in every folder below.
  EXPECT_EQ(list(root + "/y.txt", true),
            std::vector<std::string>{line("2026/12/07 10:05:03", "sub1/deeper/y.txt")});
  EXPECT_EQ(list(root + "/y.txt", false), std::vector<std::string>{"@"});
  // A name that asks for a dot file gets it.
  EXPECT_EQ(list(root + "/.hidden.txt", false),
            std::vector<std::string>{line("2026/12/07 09:05:03", ".hidden.txt")});
}

TEST_F(FileListingTest, WildcardsInTheLastComponent) {
  auto names = [&](const std::string& mask, bool subfolders) {
    std::vector<std::string> out;
    for (const auto& l : list(root + "/" + mask, subfolders))
      out.push_back(l == "@" ? l : l.substr(20 + root.size() + 1));
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names("*.txt", false), (V{"Z.txt", "a.txt", "b.txt", japanese}));
  EXPECT_EQ(names("*.txt", true), (V{"Z.txt", "a.txt", "b.txt", japanese, "sub1/deeper/y.txt"}));
  // '?' is one character, also of a Japanese name, or none before the dot.
  EXPECT_EQ(names("?.txt", false), (V{"Z.txt", "a.txt", "b.txt"}));
  EXPECT_EQ(names("???.txt", false), (V{"Z.txt", "a.txt", "b.txt", japanese}));
  EXPECT_EQ(names("????.txt", true), (V{"Z.txt", "a.txt", "b.txt", japanese, "sub1/deeper/y.txt"}));
  EXPECT_EQ(names("*.*", false), (V{"Z.txt", "a.txt", "b.txt", "dangling", japanese}));
  EXPECT_EQ(names("*.", false), (V{"dangling"}));
  // Brackets are no wildcard for dir.
  EXPECT_EQ(names("[ab].txt", false), V{"@"});
}

TEST_F(FileListingTest, RelativeTargetIsTakenFromTheDataFolder) {
  FileListing listing(root + "/", pump, stop);
  EXPECT_EQ(listing.list("sub1", false), line("2026/12/07 09:06:03", "sub1/x.log") + "\r\n");
}

// A name Shift-JIS holds stays as it is (baselines still compare equal);
// any other stays apart from its neighbours by references, one line each.
TEST_F(FileListingTest, EveryNameStaysOneLineAndDistinct) {
  file(root + "/sub0/two\nlines\r.txt");
  file(root + "/sub0/a\xF0\x9F\x98\x80\xE6\x97\xA5.txt");  // two emoji were both "a?"
  file(root + "/sub0/a\xF0\x9F\x98\x81.txt");
  file(root + "/sub0/b\xC3\xA9\xFF.txt");  // e acute, then a byte that is no UTF-8
  const std::string t = "2026/12/07 09:05:03";
  EXPECT_EQ(list(root + "/sub0", false),
            (std::vector<std::string>{
                line(t, "sub0/a&#x1F600;" + sj("日") + ".txt"), line(t, "sub0/a&#x1F601;.txt"),
                line(t, "sub0/b&#xE9;&#xDCFF;.txt"), line(t, "sub0/two&#xA;lines&#xD;.txt")}));
}

TEST_F(FileListingTest, QueuedMessagesRunWhileItListsAndARequestToEndGivesItUp) {
  FileListing(dir.path(), pump, stop, 0).list(root, true);
  // Every entry read and every entry handled gives the window its turn.
  EXPECT_GE(pump.count(), 14);
  // Half a listing must never pass for a snapshot.
  pump.onPump([&] { stop.raise(); });
  EXPECT_EQ(FileListing(dir.path(), pump, stop, 0).list(root, true), std::nullopt);
}

// A long listing reaches its writer in pieces that make up the whole; a
// piece not written ends the listing there.
TEST_F(FileListingTest, ALongListingIsHandedOnInPiecesUntilOneIsNotWritten) {
  for (int i = 0; i < 4000; ++i)
    ::close(::open(
        (root + "/sub0/a-name-long-enough-to-fill-pieces-" + std::to_string(i) + ".txt").c_str(),
        O_CREAT | O_WRONLY, 0644));
  std::vector<std::string> pieces;
  EXPECT_TRUE(FileListing(dir.path(), pump, stop).listTo(root, true, [&](std::string_view piece) {
    pieces.emplace_back(piece);
    return true;
  }));
  EXPECT_GE(pieces.size(), 2u);
  std::string whole;
  for (const std::string& piece : pieces) whole += piece;
  EXPECT_EQ(whole, FileListing(dir.path(), pump, stop).list(root, true));

  int calls = 0;
  EXPECT_FALSE(FileListing(dir.path(), pump, stop).listTo(root, true, [&](std::string_view) {
    ++calls;
    return false;
  }));
  EXPECT_EQ(calls, 1);
}

TEST(WildcardMask, DosRules) {
  struct Case {
    const char* mask;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*", "anything.at.all", true},
      {"*.txt", "a.b.txt", true},
      {"*.txt", "a.txt.bak", false},
      {"*.TXT", "note.txt", true},
      {"a*", "A", true},
      {"*.*", "README", true},
      {"*.*", "a.b.c", true},
      {"*.", "README", true},
      {"*.", "a.b", false},
      {"abc.*", "abc", true},
      {"abc.*", "abc.def", true},
      {"abc.", "abc", true},
      {"abc.", "abc.d", false},
      {"a?.txt", "ab.txt", true},
      {"a?.txt", "a.txt", true},  // '?' takes nothing before a dot
      {"a?.txt", "abc.txt", false},
      {"a?c", "a.c", false},
      {"a??", "a", true},
      {"?", "\xE6\x97\xA5", true},  // one character, three bytes
      {"?", "\xE6\x97\xA5\xE6\x9C\xAC", false},
      {"*b*", "aXbX", true},
      {"x", "\xFF", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WildcardMask(c.mask).matches(c.name), c.match) << c.mask << " vs " << c.name;
  EXPECT_TRUE(WildcardMask("*").matchesEverything());
  EXPECT_TRUE(WildcardMask(".*").asksForDotNames());
  EXPECT_FALSE(WildcardMask("*.*").asksForDotNames());
}

}  // namespace
