#include "monitor/engine/comparison/comparison_texts.h"

#include "platform/codec.h"

namespace orvis::comparison_texts {

namespace {

// A byte as a one-character text; a zero byte is an empty text.
std::string byteText(char c) { return c == 0 ? std::string() : std::string(1, c); }

}  // namespace

const std::string& goodCode() { return SJIS("Good code."); }
const std::string& sourceInvalid() { return SJIS("source file invalid."); }
const std::string& sizesDiffer() { return SJIS("比較サイズが異なります。"); }
const std::string& cannotOpenAlert() { return SJIS("ソースファイルが開けませんでした。"); }
const std::string& zeroBytesAlert() { return SJIS("ソースファイルがゼロバイトです。"); }
const std::string& differenceAlert() { return SJIS("HTMLソース比較エラーを検出"); }
const std::string& endAlreadyRead() {
  return SJIS("## 余計に読み込んでいるバッファの中に、終了文字列を発見しましたので抜けます。");
}

std::vector<std::string> differenceLines(std::uint64_t counter, char baselineByte,
                                         char snapshotByte, std::string_view context) {
  return {
      "not same code.src counter=" + std::to_string(counter) + "(1 origin)",
      SJIS("SRC(元  ファイル)=") + byteText(baselineByte),
      SJIS("CHK(取得ファイル)=") + byteText(snapshotByte),
      std::string(),
      SJIS("更新検出個所:") + std::string(context),
      std::string(),
  };
}

}  // namespace orvis::comparison_texts
