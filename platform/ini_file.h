#pragma once
// INI profile text: "[SECTION]" lines and "key=value" lines. Sections and
// keys match without regard to the case of ASCII letters; CP932 bytes are
// kept exactly as stored. Setting a key keeps every other line, comment and
// blank line of the file where it was.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files.h"

namespace orvis::platform {

// The entries of one section, found in one walk of the document: each
// key's value is then had without walking the lines again. It points into
// the document's lines, and lives no longer than the document unchanged.
class IniSection {
 public:
  // As IniDocument::get for this section.
  std::optional<std::string> get(std::string_view key) const;

 private:
  friend class IniDocument;
  // Key and value of every entry, blanks trimmed, in file order.
  std::vector<std::pair<std::string_view, std::string_view>> entries_;
};

class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument parse(std::string_view bytes);

  // The value of the first matching key, blanks trimmed; nullopt when the
  // section or key is missing.
  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // Every entry of the section, for a caller that reads many of its keys.
  IniSection section(std::string_view name) const;

  // Sets the key: replaces the value of an existing key in place, adds a
  // missing key after the last entry of its section, and a missing section
  // at the end of the file.
  void set(std::string_view section, std::string_view key, std::string_view value);

  // Lines joined with CR LF.
  std::string serialize() const;

  const std::vector<std::string>& lines() const { return lines_; }

  // The names of sections that head more than one part of the file (as
  // first written), each with its count. Reads take the first value of a
  // key in any of the parts; a write changes that one.
  std::vector<std::pair<std::string, int>> repeatedSections() const;

 private:
  // Calls visit(key, line) for each entry of the section, in file order,
  // until it returns false.
  template <typename Visit>
  void forEachEntry(std::string_view section, Visit visit) const;

  std::vector<std::string> lines_;
};

// Loads the file; a missing file is an empty document, a file that exists
// but cannot be read gives nullopt, as does anything that is not a regular
// file or holds more than kSettingsFileLimit.
std::optional<IniDocument> loadIniFile(const std::string& path);

// Writes the document back atomically (see writeFileAtomic).
bool saveIniFile(const std::string& path, const IniDocument& doc,
                 FileAccess access = FileAccess::Usual);

}  // namespace orvis::platform
