#include "ini_file.h"

#include <algorithm>

#include "bytes.h"
#include "files.h"

namespace orvis::platform {
namespace {

// Section name when the line is a section header.
std::optional<std::string_view> sectionOf(std::string_view line) {
  std::string_view t = trimmedView(line);
  if (t.size() >= 2 && t.front() == '[' && t.back() == ']')
    return trimmedView(t.substr(1, t.size() - 2));
  return std::nullopt;
}

bool isComment(std::string_view line) {
  std::string_view t = trimmedView(line);
  return t.empty() || t[0] == ';';
}

// Key of a "key=value" line.
std::optional<std::string_view> keyOf(std::string_view line) {
  if (isComment(line)) return std::nullopt;
  auto eq = line.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return trimmedView(line.substr(0, eq));
}

std::string_view valueOf(std::string_view line) {
  return trimmedView(line.substr(line.find('=') + 1));
}

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
  IniDocument doc;
  doc.lines_ = splitLines(bytes);
  return doc;
}

template <typename Visit>
void IniDocument::forEachEntry(std::string_view section, Visit visit) const {
  bool inSection = false;
  for (const auto& line : lines_) {
    if (auto s = sectionOf(line)) {
      inSection = cp932EqualsIgnoreCase(*s, section);
      continue;
    }
    if (!inSection) continue;
    if (auto k = keyOf(line); k && !visit(*k, line)) return;
  }
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
  std::optional<std::string> value;
  forEachEntry(section, [&](std::string_view k, std::string_view line) {
    if (!cp932EqualsIgnoreCase(k, key)) return true;
    value = std::string(valueOf(line));
    return false;
  });
  return value;
}

IniSection IniDocument::section(std::string_view name) const {
  IniSection keys;
  keys.entries_.reserve(lines_.size());
  forEachEntry(name, [&keys](std::string_view k, std::string_view line) {
    keys.entries_.emplace_back(k, valueOf(line));
    return true;
  });
  return keys;
}

std::optional<std::string> IniSection::get(std::string_view key) const {
  for (const auto& [k, value] : entries_)
    if (cp932EqualsIgnoreCase(k, key)) return std::string(value);
  return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  bool inSection = false;
  bool sectionFound = false;
  size_t insertAt = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (auto s = sectionOf(line)) {
      inSection = cp932EqualsIgnoreCase(*s, section);
      if (inSection && !sectionFound) {
        sectionFound = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    auto k = keyOf(line);
    if (k && cp932EqualsIgnoreCase(*k, key)) {
      lines_[i] = std::string(*k) + "=" + std::string(value);
      return;
    }
    if (sectionFound && !trim(line).empty()) insertAt = i + 1;
  }
  std::string entry = std::string(key) + "=" + std::string(value);
  if (sectionFound) {
    lines_.insert(lines_.begin() + static_cast<long>(insertAt), entry);
    return;
  }
  lines_.push_back("[" + std::string(section) + "]");
  lines_.push_back(entry);
}

std::vector<std::pair<std::string, int>> IniDocument::repeatedSections() const {
  std::vector<std::pair<std::string, int>> seen;
  for (const auto& line : lines_) {
    auto s = sectionOf(line);
    if (!s) continue;
    auto it = std::find_if(seen.begin(), seen.end(),
                           [&](const auto& e) { return cp932EqualsIgnoreCase(e.first, *s); });
    if (it == seen.end())
      seen.emplace_back(std::string(*s), 1);
    else
      ++it->second;
  }
  std::erase_if(seen, [](const auto& e) { return e.second < 2; });
  return seen;
}

std::string IniDocument::serialize() const { return joinLinesCrLf(lines_); }

std::optional<IniDocument> loadIniFile(const std::string& path) {
  // Read first, and only a read that fails asks whether the file is there:
  // a path that cannot be looked up cannot be opened either.
  auto bytes = readFile(path, kSettingsFileLimit);
  if (bytes) return IniDocument::parse(*bytes);
  if (!pathExists(path)) return IniDocument();
  return std::nullopt;
}

bool saveIniFile(const std::string& path, const IniDocument& doc, FileAccess access) {
  return writeFileAtomic(path, doc.serialize(), access);
}

}  // namespace orvis::platform
