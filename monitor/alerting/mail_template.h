#pragma once
// A user's own alert mail: the body template's variables and how each is
// filled in, and the escaping of the difference text for HTML mail.

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace orvis {

// "<", ">", '"' and "'" as HTML character references, in that order. "&"
// stays as it is.
std::string escapeHtml(const std::string& text);

struct TemplateValues {
  std::string uri;
  std::string name;
  std::string systemMessage;
  // The difference text; without one "%diff" is left as written.
  std::optional<std::string> difference;
  bool html = false;
};

// Replaces "%date", "%time", "%uri", "%name", "%sysmsg" and "%diff", in
// this order and case-sensitively, in every line. Each line reads the
// clock once. Text put in by one variable is open to the later ones.
std::vector<std::string> fillTemplate(const std::vector<std::string>& lines,
                                      const TemplateValues& values, const platform::Clock& clock);

}  // namespace orvis
