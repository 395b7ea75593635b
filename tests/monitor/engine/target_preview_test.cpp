// The target preview: what each type opens, through a stand-in launcher that
// records the command line and its folder, and the page it writes.

#include "monitor/engine/target_preview.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "support/fake_editor_view.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

const std::string kPageHead = "<meta charset=\"Shift_JIS\">\r\n";
const std::string kWrongDrive =
    "ドライブレターに誤りがあります。ドライブ項目にドライブレターを正しく入力してください。\r\n";

struct PreviewFixture : ::testing::Test {
  PreviewFixture() {
    writeText(dir / "watched dir/a \"q\".txt", "x");
    rig.processes.entries = {{1, 0, "systemd"}, {42, 1, "NOTEPAD.exe"}, {77, 1, "<b>x&y"}};
    rig.disks.anyPath.reset();
    rig.disks.disks["/"] = platform::DiskSpace{8ull << 30, 1536ull << 20, 1536ull << 20};
  }

  // Previews the target; the one word the opener was given (nullopt when
  // nothing was started).
  std::optional<std::string> preview(JobType type, const std::string& uri) {
    editor.jobType = type;
    editor.texts[EditorControl::Target] = sj(uri);
    const size_t before = rig.launcher.launches.size();
    TargetPreview(rig.services, editor).showTarget();
    if (rig.launcher.launches.size() == before) return std::nullopt;
    const auto& launch = rig.launcher.launches.back();
    EXPECT_EQ(launch.workingFolder, dir / "temp/");
    const auto words = platform::splitCommandLine(launch.commandLine);
    EXPECT_EQ(words.size(), 2u);
    EXPECT_EQ(words.at(0), "xdg-open");
    return words.at(1);
  }
  std::string page() const { return platform::toUtf8(readText(dir / "temp/srctemp.html")); }

  ServicesRig rig;
  TempDir& dir = rig.dir;
  FakeEditorView editor;
};

}  // namespace

TEST_F(PreviewFixture, EachTypeOpensItsTargetOrItsPage) {
  struct Case {
    JobType type;
    std::string uri;
    std::string opened;               // relative to the data folder when it starts without '/'
    std::optional<std::string> page;  // after the charset line
  };
  const std::string d = dir.path();
  const Case cases[] = {
      {JobType::Url, "https://example.com/a b?q=\"1\"", "https://example.com/a b?q=\"1\"", {}},
      {JobType::File, d + "watched dir", d + "watched dir", {}},
      {JobType::File, d + "watched dir/a \"q\".txt", d + "watched dir/", {}},
      // Taken from the data folder, as the check takes it.
      {JobType::File, "watched dir/a \"q\".txt", d + "watched dir/", {}},
      {JobType::File, "/nowhere/x<y>.txt", d + "temp/srctemp.html",
       "チェック対象->/nowhere/x&lt;y&gt;.txt<BR>\r\n"
       "指定のファイルやフォルダが見つかりませんでした。<BR>\r\n"
       "対象のファイルやフォルダが見つからない場合は、チェックで見つかった時にファイル状態更新と"
       "してメールします。<BR>\r\n"},
      {JobType::Drive, "/:10", d + "temp/srctemp.html",
       "現在の<STRONG><FONT color=\"BLUE\">/</FONT></STRONG>ドライブの空き容量は、<STRONG><FONT "
       "color=\"BLUE\">1</FONT></STRONG> GBです。\r\n"},
      {JobType::Drive, "/no/such/disk:10", d + "temp/srctemp.html", kWrongDrive},
      {JobType::Drive, "Q:", d + "temp/srctemp.html", kWrongDrive},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.uri);
    writeText(dir / "temp/srctemp.html", "stale");
    EXPECT_EQ(preview(c.type, c.uri), c.opened);
    // The page of an earlier preview never stands for this one.
    EXPECT_EQ(page(), c.page ? kPageHead + *c.page : "<missing>");
  }
  EXPECT_EQ(rig.logLines().size(), 2 * std::size(cases));
  EXPECT_EQ(rig.logLines().front(), "起動成功");
  EXPECT_EQ(rig.logLines().back(), "起動処理終了");
}

TEST_F(PreviewFixture, TheProgramPageHighlightsOnlyTheWholeName) {
  const std::string head = kPageHead +
                           "対象のプロセスが見つかった場合は、青文字としています。<BR>\r\n"
                           "対象のプロセスが見つからない場合は、チェックで見つかった時にプロセス状"
                           "態更新としてメールします。<BR>\r\n" +
                           std::string(96, '-') + "<BR>\r\n000001 000000 systemd<BR>\r\n";
  const std::string rest = "000077 000001 &lt;b&gt;x&amp;y<BR>\r\n";
  EXPECT_EQ(preview(JobType::Proc, "notepad.EXE"), dir / "temp/srctemp.html");
  EXPECT_EQ(page(), head +
                        "<FONT color=\"BLUE\"><STRONG>000042 000001 "
                        "NOTEPAD.exe</STRONG></FONT><BR>\r\n" +
                        rest);
  // The check would find "notepad" inside the name; the page marks only an
  // exact name.
  preview(JobType::Proc, "notepad");
  EXPECT_EQ(page(), head + "000042 000001 NOTEPAD.exe<BR>\r\n" + rest);
  // Shift-JIS with CR LF, byte for byte.
  EXPECT_TRUE(readsAsCp932(readText(dir / "temp/srctemp.html")));
}

TEST_F(PreviewFixture, NothingStartsWithoutATargetAndAFailedStartIsLogged) {
  writeText(dir / "temp/srctemp.html", "kept");
  EXPECT_EQ(preview(JobType::Proc, ""), std::nullopt);
  ASSERT_EQ(rig.prompter.questions().size(), 1u);
  EXPECT_EQ(rig.prompter.texts()[0],
            "http://www.example.com/"
            "などURIや、チェックタイプに従ったチェック内容を指定してください。");
  EXPECT_EQ(rig.prompter.questions()[0].caption, "OrvisWatch");
  EXPECT_EQ(rig.prompter.questions()[0].flags, mb::OK);
  EXPECT_EQ(readText(dir / "temp/srctemp.html"), "kept");

  rig.launcher.failing = true;
  preview(JobType::Url, "https://example.com/");
  const auto lines = rig.logLines();
  ASSERT_EQ(lines.size(), 4u);  // the box's line, then the start's with its reason
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
            (std::vector<std::string>{"起動失敗", "cannot start", "起動処理終了"}));
  EXPECT_EQ(rig.launcher.waits, 0);
}
