#include <gtest/gtest.h>

#include "fetcher/page_decoder.h"
#include "fetcher/streamed_page.h"
#include "platform/files.h"
#include "support/temp_dir.h"

using namespace orvis::fetcher;
using namespace orvis::testing;

namespace {

struct TextOutput : DecodedOutput {
  void write(std::string_view bytes) override { text.append(bytes); }
  void restart() override { text.clear(); }
  std::string text;
};

// The page handed over in pieces of `size` bytes, the first of them
// `first` bytes long.
DecodedPage decodeInPieces(const std::string& body, const std::string& type, size_t first,
                           size_t size) {
  TextOutput out;
  std::string received;
  PageStreamDecoder decoder(type, out, [&received](const auto& take) {
    take(received);
    return true;
  });
  for (size_t at = 0, n = first; at < body.size(); at += n, n = size) {
    received += body.substr(at, n);
    decoder.add(std::string_view(body).substr(at, n));
  }
  DecodedPage page = decoder.finish();
  page.bytes = out.text;
  return page;
}

}  // namespace

TEST(PageStreamDecoder, PiecesCutAnywhereGiveTheBytesOfTheWhole) {
  const std::string japanese = "日本語のページ \xF0\x9F\x98\x80 caf\xC3\xA9";
  const std::string filler(5000, 'x');  // past the first 4 KB
  const struct {
    const char* name;
    std::string body, type;
  } pages[] = {
      {"UTF-8 by header", "<p>" + japanese + "</p>", "text/html; charset=utf-8"},
      {"UTF-8 by the check", filler + japanese + filler + japanese, "text/html"},
      {"UTF-8 mark", "\xEF\xBB\xBF<p>" + japanese, "text/html"},
      {"UTF-16 mark", std::string("\xFF\xFE<\0p\0>\0\xE5\x65\x2C\x67", 12), "text/html"},
      {"meta EUC-JP", "<meta charset=\"EUC-JP\"><p>\xC6\xFC\xCB\xDC</p>" + filler, ""},
      {"ISO-2022-JP, shifted", "\x1B$BF|K\\\x1B(B ok \x1B$BF|K\\\x1B(B",
       "text/html; charset=iso-2022-jp"},
      {"header wrong, meta right",
       "<meta charset=\"shift_jis\">" + filler + "\x93\xFA\x96\x7B" + filler,
       "text/html; charset=utf-8"},
      {"not UTF-8 past the first 4 KB", filler + japanese + "\x93\xFA" + japanese, "text/html"},
      {"cut off inside a character", "<p>" + japanese + "\xE6\x97", "text/html; charset=utf-8"},
      {"empty", "", "text/html"},
  };
  for (const auto& p : pages) {
    const DecodedPage whole = decodePage(p.body, p.type);
    for (size_t first : {size_t(1), size_t(2), size_t(3), size_t(5), size_t(4095), size_t(4097)}) {
      for (size_t size : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(4096)}) {
        if (size == 1 && p.body.size() > 4096) continue;  // the cuts of 2 and 3 cover it
        const DecodedPage cut = decodeInPieces(p.body, p.type, first, size);
        EXPECT_EQ(cut.bytes, whole.bytes) << p.name << " " << first << "/" << size;
        EXPECT_EQ(cut.charset, whole.charset) << p.name << " " << first << "/" << size;
        EXPECT_EQ(cut.source, whole.source) << p.name << " " << first << "/" << size;
      }
    }
  }
}

TEST(PageStreamDecoder, NothingButThePageStaysBehind) {
  TempDir dir;
  const std::string output = dir / "srctemp.txt";
  auto entries = [&dir] { return orvis::platform::listFolder(dir.path(), "*", false); };
  {
    // A page whose header charset fails late: read again from the spool.
    StreamedPage page(output, {});
    page.start(200, "text/html; charset=utf-8");
    page.take(std::string(8000, 'a'));
    page.take("\x93\xFA");
    EXPECT_EQ(page.finish(200, "").source, "as received");
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(page.commit());
  }
  EXPECT_EQ(readText(output), std::string(8000, 'a') + "\x93\xFA");
  EXPECT_EQ(entries(), std::vector<std::string>{"srctemp.txt"});
  orvis::platform::removeFile(output);
  {
    StreamedPage page(output, {});
    page.start(200, "text/html");
    page.take("never finished");
  }
  EXPECT_TRUE(entries().empty());
}
