#include "job_check.h"

#include "cp932_search.h"
#include "generations.h"
#include "listing_changes.h"
#include "monitor/catalogue/job_key_write.h"
#include "monitor/catalogue/job_keys.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/process_wait.h"
#include "target_changes.h"

namespace orvis {
namespace {

// A file's text; a missing file reads as empty.
std::string textOf(const std::string& path) { return platform::readFile(path).value_or(""); }

// The keys of one INI file from a single load, made at the first key asked
// for; what that load cannot give (a file that cannot be read, the value
// "retry") goes through the retrying reader key by key, as every read would.
KeyReader keysOf(const IniAccess& ini, const std::string& path) {
  using Load = std::optional<platform::IniDocument>;
  return [&ini, path, loaded = std::optional<Load>()](const char* key) mutable {
    if (!loaded) loaded = ini.loadOnce(path);
    if (const Load& doc = *loaded) {
      std::string value = doc->get(jobkey::kSection, key).value_or(std::string());
      if (value != "retry") return value;
    }
    return ini.read(path, jobkey::kSection, key);
  };
}

}  // namespace

std::optional<JobCheck::Target> JobCheck::target(std::size_t job) const {
  if (job >= jobs_.size()) return std::nullopt;
  const JobRecord& record = jobs_[job];
  auto baseline = baselinePath(s_.dataFolder, record.number);
  if (record.file.empty() || !baseline) return std::nullopt;
  return Target{job, record, record.file, *baseline};
}

std::optional<CompareRules> JobCheck::check(std::size_t job) {
  const std::optional<Target> t = target(job);
  if (!t) return std::nullopt;
  const std::string& n = t->job.number;
  view_.setBusyMessage(SJIS("№") + n + SJIS("のサーバーと通信中・・"));
  log(*t, SJIS("->チェック開始"));
  log(*t, SJIS("チェックタイプ->") + t->job.type.text());
  log(*t, SJIS("->チェック対象->") + t->job.target);

  const CompareRules rules =
      effectiveRules(keysOf(s_.ini, t->jobFile), keysOf(s_.ini, s_.path("ORVIS.ini")));
  // (A file that cannot be read costs a message box.)
  if (ending()) return std::nullopt;
  for (const std::string& line : rules.logLines(n)) s_.log.write(line);

  acquireAndEvaluate(*t, rules);
  return rules;
}

void JobCheck::retry(std::size_t job, const CompareRules& rules) {
  const std::optional<Target> t = target(job);
  if (!t) return;
  view_.setBusyMessage(SJIS("№") + t->job.number + SJIS("リトライ・・"));
  log(*t, SJIS("->接続リトライ"));
  acquireAndEvaluate(*t, rules);
}

void JobCheck::acquireAndEvaluate(const Target& t, const CompareRules& rules) {
  if (!platform::letMessagesRun(s_.pump, s_.stop)) return;
  // Not launched (or given up as the program ends): the job stays unchecked
  // in this pass, without a word.
  if (!acquisition_.acquireSnapshot(t.index)) return;
  const std::optional<JobType> type = t.job.type.known();
  if (!acquisition_.snapshotTaken() || !type) {
    log(t, SJIS("->応答エラー"));
    setResult(t, JobResult::NoResponse);
  } else {
    switch (*type) {
      case JobType::Url:
        evaluateUrl(t, rules);
        break;
      case JobType::File:
        evaluateFile(t);
        break;
      case JobType::Proc:
        evaluateProc(t);
        break;
      case JobType::Drive:
        evaluateDrive(t);
        break;
    }
  }
  if (ending()) return;
  platform::removeFile(acquisition_.snapshotPath());
}

void JobCheck::evaluateUrl(const Target& t, const CompareRules& rules) {
  if (rules.checksWord() && !checkWord(t, rules.word)) return;
  if (!rules.comparesSource()) {
    log(t, SJIS("->RES OK"));
    setResult(t, JobResult::NoChange);
    return;
  }
  const int code = comparison_.compareHtmlSource(
      static_cast<int>(t.index) + 1, t.job, rules.skips(), t.baseline, acquisition_.snapshotPath());
  if (ending()) return;
  if (code == 0) {
    reportNoChange(t);
    return;
  }
  // The comparison raised its own alert.
  log(t, SJIS("->比較エラー"));
  replaceBaseline(t);
  setResult(t, JobResult::Changed);
}

bool JobCheck::checkWord(const Target& t, const std::string& word) {
  log(t, SJIS("->ワードチェック開始 WORD=") + word);
  const std::string snapshot = acquisition_.snapshotPath();
  if (anyLineContains(textOf(snapshot), word)) {
    log(t, SJIS("->指定ワード検出"));
    if (!alert(t, SJIS("指定ワードを検出"), word)) return false;
  }
  if (auto copy = jobFileIn(s_.dataFolder, kWordFolder, t.job.number)) {
    platform::makeFolders(s_.path(kWordFolder));
    rotateGenerations(*copy);
    platform::copyFile(snapshot, *copy);
  }
  log(t, SJIS("->ワードチェック終了"));
  return true;
}

void JobCheck::evaluateFile(const Target& t) {
  // The entries straight from the two texts into the detail, each logged as
  // it is written; the texts go before the alert is raised.
  std::string detail;
  {
    const std::string baseline = textOf(t.baseline);
    const std::string snapshot = textOf(acquisition_.snapshotPath());
    forEachListingChange(baseline, snapshot, [this, &detail](const ListingChangeView& change) {
      const std::size_t start = detail.size();
      appendListingEntry(detail, change);
      s_.log.write(std::string_view(detail).substr(start));
      detail += "\r\n";
    });
  }
  if (detail.empty())
    reportNoChange(t);
  else
    reportChange(t, SJIS("ファイル更新を検出"), detail);
}

void JobCheck::evaluateProc(const Target& t) {
  const std::optional<std::string> detail =
      processChange(t.job.target, textOf(t.baseline), textOf(acquisition_.snapshotPath()));
  if (!detail) {
    reportNoChange(t);
    return;
  }
  s_.log.write(*detail);
  reportChange(t, SJIS("プロセス状態更新を検出"), *detail);
}

void JobCheck::evaluateDrive(const Target& t) {
  const std::optional<std::string> detail =
      driveChange(t.job.target, textOf(t.baseline), textOf(acquisition_.snapshotPath()));
  if (detail) {
    s_.log.write(*detail);
    reportChange(t, SJIS("ドライブ残量状態更新を検出"), *detail);
    return;
  }
  // The baseline always holds the latest reading, so that the alert comes
  // again only after the space has risen above the threshold and fallen.
  reportNoChange(t);
  replaceBaseline(t);
}

void JobCheck::reportChange(const Target& t, const std::string& message,
                            const std::string& detail) {
  log(t, "->" + message);
  if (!alert(t, message, detail)) return;
  replaceBaseline(t);
  setResult(t, JobResult::Changed);
}

void JobCheck::reportNoChange(const Target& t) {
  log(t, "->OK");
  setResult(t, JobResult::NoChange);
}

void JobCheck::replaceBaseline(const Target& t) {
  platform::makeFolders(s_.path(kBaselineFolder));
  rotateGenerations(t.baseline);
  platform::copyFile(acquisition_.snapshotPath(), t.baseline);
}

void JobCheck::setResult(const Target& t, JobResult result) {
  if (result == JobResult::Changed) ++s_.counters.changes;
  writeJobKey(s_.ini, s_.log, t.job, jobkey::CHECK, resultCode(result));
  if (t.index < jobs_.size() && jobs_[t.index].number == t.job.number)
    jobs_[t.index].result = result;
}

void JobCheck::log(const Target& t, const std::string& text) const {
  s_.log.write(t.job.number + text);
}

bool JobCheck::alert(const Target& t, const std::string& message, const std::string& detail) {
  alerts_.sendAlert(static_cast<int>(t.index) + 1, t.job.target, message, t.job.name, detail);
  return !ending();
}

}  // namespace orvis
