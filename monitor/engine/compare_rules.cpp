#include "compare_rules.h"

#include "monitor/catalogue/job_keys.h"
#include "platform/codec.h"

namespace orvis {
namespace {

// The keys of the seven settings: in ORVIS.ini, and in a job file.
struct RuleKeys {
  const char* standard;
  const char* own;
  std::string CompareRules::*field;
};

constexpr RuleKeys kRules[] = {
    {"SOURCE_CHECK", jobkey::CHKHIKAKU, &CompareRules::sourceCheck},
    {"SCRIPT_IGNORE", jobkey::CHKSCRIPT, &CompareRules::scriptIgnore},
    {"COMMENT_IGNORE", jobkey::CHKCOMMENT, &CompareRules::commentIgnore},
    {"HREF_IGNORE", jobkey::CHKREF, &CompareRules::hrefIgnore},
    {"SRC_IGNORE", jobkey::CHKSRC, &CompareRules::srcIgnore},
    {"ALT_IGNORE", jobkey::CHKALT, &CompareRules::altIgnore},
    {"HEAD_IGNORE", jobkey::CHKHEAD, &CompareRules::headIgnore},
};

std::string yesNo(const std::string& flag) { return flag == "1" ? "YES" : "NO"; }

}  // namespace

SkipSwitches CompareRules::skips() const {
  return SkipSwitches::fromSettings(scriptIgnore, commentIgnore, hrefIgnore, srcIgnore, altIgnore,
                                    headIgnore);
}

std::vector<std::string> CompareRules::logLines(const std::string& jobNumber) const {
  std::vector<std::string> lines{jobNumber + (own ? SJIS("->個別設定でチェックします。")
                                                  : SJIS("->基本設定でチェックします。"))};
  for (const RuleKeys& rule : kRules)
    lines.push_back(jobNumber + "->" + rule.standard + ":" + this->*rule.field);
  lines.push_back(jobNumber + "->WORD_CHECK:" + wordCheck);
  lines.push_back(jobNumber + "->WORD:" + word);
  return lines;
}

CompareRules effectiveRules(const KeyReader& jobFile, const KeyReader& standard) {
  CompareRules rules;
  rules.own = jobFile(jobkey::CHKKOBETSU) == "1";
  for (const RuleKeys& rule : kRules)
    rules.*rule.field = rules.own ? yesNo(jobFile(rule.own)) : standard(rule.standard);
  if (!rules.own && rules.sourceCheck.empty()) rules.sourceCheck = "YES";
  rules.wordCheck = yesNo(jobFile(jobkey::CHKWORD));
  rules.word = jobFile(jobkey::WORD);
  return rules;
}

}  // namespace orvis
