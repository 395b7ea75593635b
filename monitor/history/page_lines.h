#pragma once
// A page (or any snapshot) as its lines, held with the bytes they come
// from: a line ends at CR LF, LF or CR, and a final line end starts no
// further line. Offsets are bytes from the start of the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvis {

class PageLines {
 public:
  PageLines() = default;
  explicit PageLines(std::string text);

  std::size_t size() const { return lines_.size(); }
  const std::string& text() const { return text_; }
  // The line without its line end.
  std::string_view line(std::size_t i) const {
    return {text_.data() + lines_[i].begin, lines_[i].length};
  }
  std::uint64_t begin(std::size_t i) const { return lines_[i].begin; }
  // The line that holds the byte at `offset`; an offset inside a line end
  // or past the text belongs to the line before it.
  std::size_t lineAt(std::uint64_t offset) const;

 private:
  struct Span {
    std::uint32_t begin, length;
  };
  std::string text_;
  std::vector<Span> lines_;
};

}  // namespace orvis
