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
    for (StartTest& test : t) {
      const char last = test.end.back();
      test.endFinder = ByteScanner(std::string{last, upperAscii(last)});
    }
    return t;
  }();
  return tests;
}

bool startsRegion(const StartTest& test, std::string_view window, char last, bool& readAhead) {
  readAhead = false;
  // Each form has a byte that its start cannot do without: a cheap first
  // sieve, since most bytes start nothing.
  switch (test.form) {
    case StartForm::Whole:
      // The window ends with the byte just taken in.
      return lowerAscii(last) == test.start.back() && window.size() == test.start.size() &&
             beginsWithLower(window, test.start);
    case StartForm::Head:
      // Blanks do not count, but six bytes can only make "<head>" without
      // any, so the byte just taken in closes the tag.
      if (last != '>') return false;
      break;
    case StartForm::Attribute:
      if (window.find(test.quote) == std::string_view::npos) return false;
      break;
  }
  // "src", "=" and the quote may stand apart: blanks do not count.
  char packed[kLongestStartWindow];
  std::size_t length = 0;
  for (char c : window)
    if (c != ' ' && length < sizeof packed) packed[length++] = c;
  const std::string_view text(packed, length);
  if (!beginsWithLower(text, test.start)) return false;
  if (test.form == StartForm::Attribute)
    readAhead = text.substr(test.start.size()).find(test.quote) != std::string_view::npos;
  return true;
}

}  // namespace orvis
