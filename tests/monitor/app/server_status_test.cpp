// What the running monitor tells servers: the status file at its start, at
// mode changes and after each automatic pass (refused ones too), the
// metrics file with its counters, and --status's exit status.

#include <gtest/gtest.h>
#include <unistd.h>

#include "monitor/app/status_report.h"
#include "platform/files.h"
#include "support/check_rig.h"

namespace orvis {
namespace {

using testing::CheckRig;

RunRecord statusFile(const CheckRig& rig) {
  auto record = RunRecord::parse(platform::readFile(rig.path(RunRecord::kFileName)).value_or(""));
  EXPECT_TRUE(record);
  return record.value_or(RunRecord{});
}

TEST(ServerStatus, StatusFileAndMetricsFollowTheModeAndEveryAutomaticPass) {
  CheckRig rig({"OrvisWatchService"});
  testing::writeText(rig.path("ORVIS.ini"),
                     "[COMMON]\r\nCHECKINTERVAL=1\r\nMETRICSFILE=node/orvis.prom\r\n");
  platform::makeFolders(rig.path("node"));
  rig.job("1", "URL", "http://example.invalid/");  // no page, the fetcher fails
  rig.launcher.exitStatus = 1;
  rig.start();
  const long long startMs = platform::epochMs(rig.clock.now());
  RunRecord run = statusFile(rig);
  EXPECT_EQ(
      std::tuple(run.pid, run.automatic, run.nextDueMs, run.passStartMs),
      std::tuple(::getpid(), true, std::optional(startMs + 60000), std::optional<long long>()));
  EXPECT_FALSE(platform::fileExists(rig.path("node/orvis.prom")));  // only after a pass

  rig.clock.advanceMs(60000);
  rig.monitor->timers().check.fire();
  run = statusFile(rig);
  EXPECT_EQ(run.passStartMs, startMs + 60000);
  EXPECT_EQ(std::tuple(run.refusal, run.nextDueMs),
            std::tuple(RunRecord::Refusal::None, std::optional(*run.passEndMs + 60000)));
  const std::string metrics = platform::readFile(rig.path("node/orvis.prom")).value_or("");
  // A first sweep and three retries, each fetch failed; one response-error
  // mail, whose mailer failed too.
  for (const char* line :
       {"orviswatch_fetch_failures_total 4\n", "orviswatch_alert_mails_started_total 1\n",
        "orviswatch_mailer_failures_total{how=\"failed\"} 1\n",
        "orviswatch_jobs{result=\"no_response\"} 1\n", "orviswatch_last_pass_refused 0\n",
        "orviswatch_job_result{number=\"1\",name=\"job 1\",type=\"URL\",result=\"no_response\"} "
        "1\n"})
    EXPECT_NE(metrics.find(line), std::string::npos) << line << metrics;

  // Refused: the job lost its baseline.
  rig.writeJob("1", {"NO=1", "URI=http://example.invalid/", "NAME=job 1", "TYPE=URL", "SOURCE=0"});
  rig.monitor->timers().check.fire();
  run = statusFile(rig);
  EXPECT_EQ(std::tuple(run.refusal, run.refusedJob),
            std::tuple(RunRecord::Refusal::NoBaseline, std::string("1")));
  EXPECT_NE(
      platform::readFile(rig.path("node/orvis.prom"))->find("orviswatch_last_pass_refused 1\n"),
      std::string::npos);

  rig.monitor->autoCheck().stopAutomaticMode();
  run = statusFile(rig);
  // The last pass stays.
  EXPECT_EQ(std::tuple(run.automatic, run.nextDueMs, run.refusal),
            std::tuple(false, std::optional<long long>(), RunRecord::Refusal::NoBaseline));
}

TEST(StatusReport, ExitStatus) {
  using R = ReportedResult;
  const RunRecord::Refusal none = RunRecord::Refusal::None;
  const std::tuple<bool, RunRecord::Refusal, std::vector<R>, int> cases[] = {
      {true, none, {R::Ok, R::Ok}, 0},
      {true, none, {}, 0},
      {true, none, {R::Ok, R::Changed}, 1},
      {true, none, {R::Changed, R::NoResponse}, 2},
      {true, none, {R::NotChecked}, 2},
      {true, RunRecord::Refusal::PassRunning, {R::Ok}, 2},
      {false, none, {R::Ok}, 3},
  };
  for (const auto& [monitor, refusal, results, status] : cases) {
    StatusReport report;
    if (monitor) report.holder = FolderHolder{77, true};
    report.run = RunRecord{.pid = 77, .refusal = refusal};
    for (R r : results) report.jobs.push_back({"1", "n", "URL", "t", r, true, std::nullopt});
    EXPECT_EQ(report.exitStatus(), status);
  }
}

}  // namespace
}  // namespace orvis
