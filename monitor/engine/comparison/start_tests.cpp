#include "monitor/engine/comparison/start_tests.h"

#include "monitor/engine/comparison/ascii_lower.h"
#include "platform/codec.h"

namespace orvis {

namespace {

// clang-format off
const std::string& scriptIn()      { return SJIS("## SCRIPTタグに入りました。データスキップします。"); }
const std::string& scriptOut()     { return SJIS("## SCRIPTタグから抜けました。"); }
const std::string& commentIn()     { return SJIS("## コメント行に入りました。データスキップします。"); }
const std::string& commentOut()    { return SJIS("## コメント行から抜けました。"); }
const std::string& anchorIn()      { return SJIS("## <Aに入りました。データスキップします。"); }
const std::string& anchorOut()     { return SJIS("## </A>で抜けました。"); }
const std::string& srcIn()         { return SJIS("## SRCに入りました。データスキップします。"); }
const std::string& srcOut()        { return SJIS("## SRCから抜けました。"); }
const std::string& altIn()         { return SJIS("## ALTに入りました。データスキップします。"); }
const std::string& altOut()        { return SJIS("## ALTから抜けました。"); }
const std::string& srcSingleIn()   { return SJIS("## SRC（シングル）に入りました。データスキップします。"); }
const std::string& srcSingleOut()  { return SJIS("## SRC（シングル）から抜けました。"); }
const std::string& altSingleIn()   { return SJIS("## ALT（シングル）に入りました。データスキップします。"); }
const std::string& altSingleOut()  { return SJIS("## ALT（シングル）から抜けました。"); }
const std::string& headIn()        { return SJIS("## <HEAD>に入りました。データスキップします。"); }
const std::string& headOut()       { return SJIS("## </HEAD>でチェックを抜けました。"); }
// clang-format on

}  // namespace

const std::array<StartTest, kStartTestCount>& startTests() {
  using S = SkipSwitches;
  static const std::array<StartTest, kStartTestCount> tests = [] {
    std::array<StartTest, kStartTestCount> t{{
        {StartForm::Whole, 7, "<script", "/script", &S::script, scriptIn, scriptOut},
        {StartForm::Whole, 3, "<!-", "-->", &S::comment, commentIn, commentOut},
        {StartForm::Whole, 3, "<a ", "</a>", &S::anchor, anchorIn, anchorOut},
        {StartForm::Attribute, 7, "src=\"", "\"", &S::src, srcIn, srcOut, '"'},
        {StartForm::Attribute, 7, "alt=\"", "\"", &S::alt, altIn, altOut, '"'},
        {StartForm::Attribute, 7, "src='", "'", &S::src, srcSingleIn, srcSingleOut, '\''},
        {StartForm::Attribute, 7, "alt='", "'", &S::alt, altSingleIn, altSingleOut, '\''},
        {StartForm::Head, 6, "<head>", "</head>", &S::head, headIn, headOut},
    }};
    // Script bodies are full of "t" and heads of ">"; their "/" is rare.
    // A comment's "-" is common, its ">" is not.
    t[0].endAnchor = 0;
    t[1].endAnchor = 2;
    t[7].endAnchor = 1;
    for (StartTest& test : t) {
      if (test.end.size() == 1 && lowerAscii(test.end[0]) == upperAscii(test.end[0]))
        test.endByte = test.end[0];
      const char anchor = test.end[test.endAnchor];
      test.endFinder = ByteScanner(std::string{anchor, upperAscii(anchor), '\0'});
      for (std::size_t i = 0; i < test.end.size(); ++i) {
        const auto c = static_cast<unsigned char>(test.end[i]);
        test.endPattern |= std::uint64_t{c} << (8 * i);
        test.endPatternBytes |= std::uint64_t{0xFF} << (8 * i);
        if (c >= 'a' && c <= 'z') test.endLowerBits |= std::uint64_t{0x20} << (8 * i);
      }
      for (std::size_t i = 0; i < test.start.size(); ++i) {
        const unsigned shift = 8 * (8 - test.start.size() + i);
        const auto c = static_cast<unsigned char>(test.start[i]);
        test.pattern |= std::uint64_t{c} << shift;
        test.patternBytes |= std::uint64_t{0xFF} << shift;
        if (c >= 'a' && c <= 'z') test.lowerBits |= std::uint64_t{0x20} << shift;
      }
    }
    return t;
  }();
  return tests;
}

bool startsRegion(const StartTest& test, std::string_view window, char last, bool& readAhead) {
  readAhead = false;
  if (test.form == StartForm::Whole) {
    // The window ends with the byte just taken in.
    return lowerAscii(last) == test.start.back() && window.size() == test.start.size() &&
           beginsWithLower(window, test.start);
  }
  // Six bytes can only make "<head>" without blanks, so the byte just taken
  // in closes the tag.
  if (test.form == StartForm::Head && last != '>') return false;
  // The window with its blanks left out must begin with the start: "src",
  // "=" and the quote may stand apart.
  std::size_t matched = 0, at = 0;
  for (; at < window.size() && matched < test.start.size(); ++at) {
    if (window[at] == ' ') continue;
    if (lowerAscii(window[at]) != test.start[matched++]) return false;
  }
  if (matched < test.start.size()) return false;
  if (test.form == StartForm::Attribute)
    readAhead = window.substr(at).find(test.quote) != std::string_view::npos;
  return true;
}

std::size_t bytesUntilStart(const StartTest& test, std::string_view window, std::size_t quote) {
  std::size_t matched = 0, at = quote + 1;
  while (at-- > 0 && matched < test.start.size()) {
    if (window[at] == ' ') continue;
    if (lowerAscii(window[at]) != test.start[test.start.size() - 1 - matched++]) return kNoStart;
  }
  if (matched < test.start.size()) return kNoStart;
  // `at` now stands before the start's first byte: the bytes up to the
  // last one there that is not a blank must leave. The window takes in
  // bytes until it is full, then drops one per byte.
  for (std::size_t before = at + 1; before-- > 0;) {
    if (window[before] != ' ') return before + 1 + test.window - window.size();
  }
  return 0;
}

}  // namespace orvis
