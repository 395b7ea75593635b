#include "run_record.h"

#include "platform/bytes.h"
#include "platform/ini_file.h"

namespace orvis {
namespace {

constexpr const char* kSection = "STATUS";

std::string number(const std::optional<long long>& value) {
  return value ? std::to_string(*value) : std::string();
}

}  // namespace

const char* RunRecord::refusalName(Refusal refusal) {
  switch (refusal) {
    case Refusal::NoBaseline:
      return "no_baseline";
    case Refusal::PassRunning:
      return "pass_running";
    case Refusal::None:
      break;
  }
  return "";
}

std::string RunRecord::serialize() const {
  platform::IniDocument doc;
  auto set = [&doc](const char* key, const std::string& value) { doc.set(kSection, key, value); };
  set("PID", std::to_string(pid));
  set("STARTED", std::to_string(startedMs));
  set("MODE", automatic ? "automatic" : "manual");
  set("MODESINCE", std::to_string(modeSinceMs));
  set("PERIOD", std::to_string(periodMs));
  set("NEXTDUE", number(nextDueMs));
  set("PASSSTART", number(passStartMs));
  set("PASSEND", number(passEndMs));
  set("REFUSAL", refusalName(refusal));
  set("REFUSEDJOB", refusedJob);
  set("WRITTEN", std::to_string(writtenMs));
  return doc.serialize() + "\r\n";
}

std::optional<RunRecord> RunRecord::parse(std::string_view text) {
  const platform::IniDocument doc = platform::IniDocument::parse(text);
  auto get = [&doc](const char* key) { return doc.get(kSection, key).value_or(std::string()); };
  auto time = [&get](const char* key) -> std::optional<long long> {
    if (auto n = platform::parseInt64(get(key))) return *n;
    return std::nullopt;
  };
  const auto pid = platform::parseInt(get("PID"));
  if (!pid || *pid <= 0) return std::nullopt;
  RunRecord r;
  r.pid = *pid;
  r.startedMs = time("STARTED").value_or(0);
  r.automatic = get("MODE") == "automatic";
  r.modeSinceMs = time("MODESINCE").value_or(0);
  r.periodMs = time("PERIOD").value_or(0);
  r.nextDueMs = time("NEXTDUE");
  r.passStartMs = time("PASSSTART");
  r.passEndMs = time("PASSEND");
  const std::string refusal = get("REFUSAL");
  for (Refusal known : {Refusal::NoBaseline, Refusal::PassRunning})
    if (refusal == refusalName(known)) r.refusal = known;
  r.refusedJob = get("REFUSEDJOB");
  r.writtenMs = time("WRITTEN").value_or(0);
  return r;
}

}  // namespace orvis
