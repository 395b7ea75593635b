#include "target_preview.h"

#include <cstdio>
#include <filesystem>

#include "disk_free_space.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {

constexpr const char* kPage = "temp/srctemp.html";
constexpr const char* kBlueStrong = "<FONT color=\"BLUE\"><STRONG>";

// A name from the system written into the page stays text: a program
// called "<b>" is shown as such, never taken for markup. (CP932 trail
// bytes never take these values, so a byte-wise replace is safe.)
std::string pageText(const std::string& text) {
  std::string s = platform::replaceAll(text, "&", "&amp;");
  s = platform::replaceAll(s, "<", "&lt;");
  s = platform::replaceAll(s, ">", "&gt;");
  return platform::replaceAll(s, "\"", "&quot;");
}

// The folder that holds a file: the path up to and including its last '/'.
std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

}  // namespace

std::string TargetPreview::pagePath() const { return s_.path(kPage); }

void TargetPreview::showTarget() {
  const std::string uri = editor_.text(EditorControl::Target);
  if (uri.empty()) {
    s_.boxes.show("http://www.example.com/" +
                      SJIS("などURIや、チェックタイプに従ったチェック内容を指定してください。"),
                  "OrvisWatch", mb::OK);
    return;
  }
  platform::removeFile(pagePath());
  opener_.open(targetToOpen(editor_.type(), uri));
}

std::string TargetPreview::targetToOpen(JobType type, const std::string& uri) {
  switch (type) {
    case JobType::Url:
      return platform::toUtf8(uri);
    case JobType::File: {
      std::filesystem::path path(platform::toUtf8(uri));
      // Taken from the data folder, as the check takes it: the preview shows
      // what the check will watch.
      if (path.is_relative())
        path = (std::filesystem::path(s_.dataFolder) / path).lexically_normal();
      const std::string target = path.string();
      if (platform::folderExists(target)) return target;
      if (platform::fileExists(target)) return folderOf(target);
      writePage(missingFileLines(uri));
      return pagePath();
    }
    case JobType::Proc:
      writePage(processLines(uri));
      return pagePath();
    case JobType::Drive:
      writePage(driveLines(uri));
      return pagePath();
  }
  return pagePath();
}

std::vector<std::string> TargetPreview::missingFileLines(const std::string& uri) const {
  return {SJIS("チェック対象->") + pageText(uri) + "<BR>",
          SJIS("指定のファイルやフォルダが見つかりませんでした。<BR>"),
          SJIS("対象のファイルやフォルダが見つからない場合は、チェックで見つかった時にファイル状態"
               "更新としてメールします。<BR>")};
}

std::vector<std::string> TargetPreview::processLines(const std::string& uri) const {
  std::vector<std::string> lines = {
      SJIS("対象のプロセスが見つかった場合は、青文字としています。<BR>"),
      SJIS("対象のプロセスが見つからない場合は、チェックで見つかった時にプロセス状態更新として"
           "メールします。<BR>"),
      std::string(96, '-') + "<BR>"};
  char numbers[32];
  for (const auto& p : s_.processes.list()) {
    std::snprintf(numbers, sizeof numbers, "%.6d %.6d ", p.pid, p.parentPid);
    const std::string line = numbers + pageText(p.name);
    // Only the whole program name counts here, unlike the check's search.
    if (platform::cp932EqualsIgnoreCase(p.name, uri))
      lines.push_back(kBlueStrong + line + "</STRONG></FONT><BR>");
    else
      lines.push_back(line + "<BR>");
  }
  return lines;
}

std::vector<std::string> TargetPreview::driveLines(const std::string& uri) const {
  // The disk is named by its mount path before the colon ("/home:21").
  const std::string disk = uri.substr(0, uri.find(':'));
  const int64_t freeMb = disk.empty() ? 0 : freeMegabytes(s_.disks, platform::toUtf8(disk));
  if (freeMb < 1) {
    return {
        SJIS("ドライブレターに誤りがあります。ドライブ項目にドライブレターを正しく入力して"
             "ください。")};
  }
  const std::string blue = "<STRONG><FONT color=\"BLUE\">";
  return {SJIS("現在の") + blue + pageText(disk) + "</FONT></STRONG>" +
          SJIS("ドライブの空き容量は、") + blue + std::to_string(freeMb / 1024) +
          "</FONT></STRONG>" + SJIS(" GBです。")};
}

void TargetPreview::writePage(const std::vector<std::string>& lines) const {
  std::vector<std::string> page = {"<meta charset=\"Shift_JIS\">"};
  page.insert(page.end(), lines.begin(), lines.end());
  platform::makeFolders(s_.path("temp"));
  if (!platform::writeFile(pagePath(), platform::joinLinesCrLf(page)))
    s_.log.write(SJIS("プレビューページを書き込めません->") + kPage);
}

}  // namespace orvis
