#include "alert_request.h"

#include "platform/codec.h"

namespace orvis::alertmail {

namespace {

bool isGroupNumber(const std::string& s) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  if (args.size() < 2 || args.size() > 3) {
    parsed.error = SJIS("引数が不正です(alertmail データフォルダ グループ番号 HTML):") +
                   std::to_string(args.size()) + SJIS("個");
    return parsed;
  }
  AlertRequest request;
  request.dataFolder = args[0];
  if (request.dataFolder.empty()) {
    parsed.error = SJIS("データフォルダが指定されていません");
    return parsed;
  }
  if (request.dataFolder.back() != '/') request.dataFolder += '/';
  request.group = args[1];
  if (!isGroupNumber(request.group)) {
    parsed.error = SJIS("メールグループ番号が不正です:") + platform::toCp932(request.group);
    return parsed;
  }
  if (args.size() == 3) {
    request.html = args[2] == "1";
    if (args[2] != "1" && args[2] != "0") {
      parsed.notes.push_back(SJIS("HTMLフラグが不正です。テキストメールとして送信します:") +
                             platform::toCp932(args[2]));
    }
  }
  parsed.request = std::move(request);
  return parsed;
}

}  // namespace orvis::alertmail
