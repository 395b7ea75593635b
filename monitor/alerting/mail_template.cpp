#include "mail_template.h"

#include "platform/bytes.h"

namespace orvis {

using platform::replaceAll;

std::string escapeHtml(const std::string& text) {
  std::string s = replaceAll(text, "<", "&lt;");
  s = replaceAll(s, ">", "&gt;");
  s = replaceAll(s, "\"", "&quot;");
  return replaceAll(s, "'", "&#39;");
}

namespace {

std::string fillLine(const std::string& line, const TemplateValues& v,
                     const platform::LocalTime& now) {
  std::string s = replaceAll(line, "%date", platform::formatDate(now));
  s = replaceAll(s, "%time", platform::formatTime(now));
  s = replaceAll(s, "%uri", v.uri);
  s = replaceAll(s, "%name", v.name);
  s = replaceAll(s, "%sysmsg", v.systemMessage);
  if (!v.difference) return s;
  const std::string& diff = *v.difference;
  if (diff.empty()) return replaceAll(s, "%diff", "");
  if (!v.html) return replaceAll(s, "%diff", diff);
  // An HTML body keeps the difference on one line; its breaks become <BR>.
  s = replaceAll(s, "%diff", escapeHtml(diff));
  return replaceAll(s, "\r\n", "<BR>");
}

}  // namespace

std::vector<std::string> fillTemplate(const std::vector<std::string>& lines,
                                      const TemplateValues& values, const platform::Clock& clock) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const std::string& line : lines) out.push_back(fillLine(line, values, clock.now()));
  return out;
}

}  // namespace orvis
