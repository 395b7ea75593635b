#include <algorithm>

#include "comparison_rig.h"
#include "support/temp_dir.h"

namespace orvis::testing {

namespace {

struct Kind {
  const char* start;
  const char* end;
  std::size_t window;
  bool blanksOut;  // tested on the window without blanks, by its beginning
  bool SkipSwitches::*on;
  const char* name;
};

const Kind kKinds[] = {
    {"<script", "/script", 7, false, &SkipSwitches::script, "SCRIPTタグ"},
    {"<!-", "-->", 3, false, &SkipSwitches::comment, "コメント行"},
    {"<a ", "</a>", 3, false, &SkipSwitches::anchor, "<A"},
    {"src=\"", "\"", 7, true, &SkipSwitches::src, "SRC"},
    {"alt=\"", "\"", 7, true, &SkipSwitches::alt, "ALT"},
    {"src='", "'", 7, true, &SkipSwitches::src, "SRC（シングル）"},
    {"alt='", "'", 7, true, &SkipSwitches::alt, "ALT（シングル）"},
    {"<head>", "</head>", 6, true, &SkipSwitches::head, "<HEAD>"},
};

void append(std::string& window, std::size_t max, char c) {
  if (c == 0) return;
  if (window.size() >= max) window.erase(0, 1);
  window += c;
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

void skipTo(const std::string& file, std::size_t& at, const std::string& end) {
  std::string window;
  while (lower(window) != end) {
    if (at >= file.size()) return;
    append(window, end.size(), file[at++]);
  }
}

}  // namespace

std::string enterLine(int kind) {
  const std::string name = kKinds[kind].name;
  return sj("## " + name + "に入りました。データスキップします。");
}

std::string leaveLine(int kind) {
  const std::string name = kKinds[kind].name;
  if (kind == 2) return sj("## </A>で抜けました。");
  if (kind == 7) return sj("## </HEAD>でチェックを抜けました。");
  return sj("## " + name + "から抜けました。");
}

Observed literalComparison(const std::string& b, const std::string& s, const SkipSwitches& on) {
  Observed out;
  auto log = [&](const std::string& utf8) { out.lines.push_back(sj(utf8)); };
  if (b.empty()) {
    log("source file invalid.");
    out.code = -1;
    return out;
  }
  std::string context, windows[8];
  std::size_t bi = 0, si = 0;
  for (;;) {
    if (bi >= b.size()) {
      log("Good code.");
      return out;
    }
    const char x = b[bi++];
    if (si >= s.size()) {
      log("比較サイズが異なります。");
      out.code = -1;
      return out;
    }
    const char y = s[si++];
    append(context, 51, x);
    bool started = false;
    for (int k = 0; k < 8 && !started; ++k) {
      const Kind& kind = kKinds[k];
      append(windows[k], kind.window, x);
      std::string text = windows[k];
      if (kind.blanksOut) std::erase(text, ' ');
      const std::string start = kind.start;
      const bool match =
          kind.blanksOut ? lower(text.substr(0, start.size())) == start : lower(text) == start;
      if (!(on.*kind.on) || !match) continue;
      started = true;
      out.lines.push_back(enterLine(k));
      if (kind.blanksOut && k != 7 &&
          text.substr(start.size()).find(kind.end) != std::string::npos) {
        log("## 余計に読み込んでいるバッファの中に、終了文字列を発見しましたので抜けます。");
      } else {
        skipTo(b, bi, kind.end);
        skipTo(s, si, kind.end);
      }
      out.lines.push_back(leaveLine(k));
      windows[k].clear();
    }
    if (started) continue;
    ++out.counter;
    if (x != y) {
      out.code = -3;
      out.context = context;
      const auto text = [](char c) { return c ? std::string(1, c) : std::string(); };
      out.lines.push_back("not same code.src counter=" + std::to_string(out.counter) +
                          "(1 origin)");
      out.lines.push_back(sj("SRC(元  ファイル)=") + text(x));
      out.lines.push_back(sj("CHK(取得ファイル)=") + text(y));
      out.lines.push_back("");
      out.lines.push_back(sj("更新検出個所:") + context);
      out.lines.push_back("");
      return out;
    }
  }
}

}  // namespace orvis::testing
