#include "bytes.h"

#include <algorithm>
#include <charconv>

#include "codec.h"

namespace orvis::platform {

std::string asciiUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string asciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

namespace {

// Walks a CP932 text byte by byte, giving each byte with the ASCII
// letters lowered and the bytes of double-byte characters as they are.
class LoweredBytes {
 public:
  char next(char byte) {
    const auto c = static_cast<unsigned char>(byte);
    if (inTrail_) {
      inTrail_ = false;
      return byte;
    }
    if (isLeadByte(c)) {
      inTrail_ = true;
      return byte;
    }
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : byte;
  }

 private:
  bool inTrail_ = false;
};

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string cp932AsciiLower(std::string_view s) {
  std::string r(s);
  LoweredBytes lowered;
  for (char& c : r) c = lowered.next(c);
  return r;
}

bool cp932EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;
  LoweredBytes la, lb;
  for (size_t i = 0; i < a.size(); ++i)
    if (la.next(a[i]) != lb.next(b[i])) return false;
  return true;
}

std::string_view trimmedView(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && isBlank(s[b])) ++b;
  size_t e = s.size();
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string trimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && isBlank(s[b])) ++b;
  return std::string(s.substr(b));
}

std::string trimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && isBlank(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

std::string trim(std::string_view s) { return std::string(trimmedView(s)); }

std::optional<int64_t> parseInt64(std::string_view s) {
  if (s.empty()) return std::nullopt;
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  for (char c : s)
    if (c < '0' || c > '9') return std::nullopt;
  uint64_t value = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  if (value > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
  int64_t v = static_cast<int64_t>(value);
  return negative ? -v : v;
}

std::optional<int> parseInt(std::string_view s) {
  auto v = parseInt64(s);
  if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
  return static_cast<int>(*v);
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string r;
  r.reserve(s.size());
  size_t pos = 0;
  while (true) {
    size_t hit = s.find(from, pos);
    if (hit == std::string_view::npos) break;
    r.append(s.substr(pos, hit - pos));
    r.append(to);
    pos = hit + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  const size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) break;
    std::string word;
    bool quoted = false;
    while (i < n) {
      char c = line[i];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        size_t slashes = 0;
        while (i < n && line[i] == '\\') {
          ++slashes;
          ++i;
        }
        if (i < n && line[i] == '"') {
          word.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            word += '"';
            ++i;
          }
        } else {
          word.append(slashes, '\\');
        }
        continue;
      }
      if (c == '"') {
        // Inside quotes, a doubled quote stands for one quote.
        if (quoted && i + 1 < n && line[i + 1] == '"') {
          word += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      word += c;
      ++i;
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string quoteArgument(std::string_view word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string_view::npos)
    return std::string(word);
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
    } else {
      // Backslashes stand for themselves except before a quote.
      if (c == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted += c;
  }
  // The closing quote must not be taken for a literal one.
  quoted.append(backslashes, '\\');
  quoted += '"';
  return quoted;
}

std::vector<std::string> splitCommaList(std::string_view line) {
  std::vector<std::string> fields;
  auto isSep = [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
  };
  size_t p = 0;
  const size_t n = line.size();
  // A zero byte ends the text, as it would end a C string.
  size_t end = line.find('\0');
  const size_t len = end == std::string_view::npos ? n : end;
  while (p < len && isSep(line[p])) ++p;
  while (p < len) {
    std::string field;
    if (line[p] == '"') {
      ++p;
      while (p < len) {
        if (line[p] == '"') {
          if (p + 1 < len && line[p + 1] == '"') {
            field += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        field += line[p++];
      }
    } else {
      size_t start = p;
      while (p<len&& static_cast<unsigned char>(line[p])> 32 && line[p] != ',') ++p;
      field.assign(line.substr(start, p - start));
    }
    fields.push_back(std::move(field));
    while (p < len && isSep(line[p])) ++p;
    if (p < len && line[p] == ',') {
      do {
        ++p;
      } while (p < len && isSep(line[p]));
    }
  }
  return fields;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  LineCursor cursor(text);
  for (std::string_view line; cursor.next(line);) lines.emplace_back(line);
  return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace orvis::platform
