#pragma once
// A job-file value that belongs to a closed set (a job type, an on/off
// switch). A file written by hand or by another version may hold some other
// text; such a value is kept as it was read, so that it is shown and passed
// on exactly as the file holds it, and never equals a known value.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace orvis {

// Specialised beside each enum: `kCodes`, the enum's values with the text a
// job file holds for each.
template <typename Enum>
struct StoredCodes;

template <typename Enum>
class StoredValue {
 public:
  // A known value; implicit, so that a record can be set from the enum.
  constexpr StoredValue(Enum value) : value_(value) {}

  // The value a stored text stands for: the known value whose code it is,
  // else the text itself.
  static StoredValue fromText(std::string_view text) {
    for (const auto& [value, code] : StoredCodes<Enum>::kCodes)
      if (text == code) return StoredValue(value);
    StoredValue other(StoredCodes<Enum>::kCodes[0].first);
    other.other_ = std::string(text);
    return other;
  }

  bool operator==(Enum value) const { return !other_ && value_ == value; }
  // The known value; nullopt for a text outside the set.
  std::optional<Enum> known() const { return other_ ? std::nullopt : std::optional<Enum>(value_); }
  // The text as a job file holds it.
  std::string text() const {
    if (other_) return *other_;
    for (const auto& [value, code] : StoredCodes<Enum>::kCodes)
      if (value == value_) return std::string(code);
    return std::string();
  }

 private:
  Enum value_;
  std::optional<std::string> other_;
};

}  // namespace orvis
