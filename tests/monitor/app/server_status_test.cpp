// What the running monitor tells servers: the status file at its start, at
// mode changes and after each automatic pass (refused ones too), the
// metrics file with its counters, and what --status makes of them.

#include <gtest/gtest.h>
#include <unistd.h>

#include "monitor/app/status_report.h"
#include "platform/files.h"
#include "support/check_rig.h"
#include "support/temp_dir.h"

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
  EXPECT_EQ(run.pid, ::getpid());
  EXPECT_TRUE(run.automatic);
  EXPECT_EQ(run.nextDueMs, startMs + 60000);
  EXPECT_FALSE(run.passStartMs);
  EXPECT_FALSE(platform::fileExists(rig.path("node/orvis.prom")));  // only after a pass

  rig.clock.advanceMs(60000);
  rig.monitor->timers().check.fire();
  run = statusFile(rig);
  EXPECT_EQ(run.passStartMs, startMs + 60000);
  EXPECT_GE(*run.passEndMs, *run.passStartMs);
  EXPECT_EQ(run.refusal, RunRecord::Refusal::None);
  EXPECT_EQ(run.nextDueMs, *run.passEndMs + 60000);
  const std::string metrics = platform::readFile(rig.path("node/orvis.prom")).value_or("");
  // A first sweep and three retries, each fetch failed; one response-error
  // mail, whose mailer failed too.
  for (const char* line :
       {"orviswatch_fetch_failures_total 4\n", "orviswatch_alert_mails_started_total 1\n",
        "orviswatch_mailer_failures_total{how=\"failed\"} 1\n",
        "orviswatch_jobs{result=\"no_response\"} 1\n", "orviswatch_last_pass_refused 0\n",
        "orviswatch_job_result{number=\"1\",name=\"job 1\",type=\"URL\",result=\"no_response\"} 1\n"})
    EXPECT_NE(metrics.find(line), std::string::npos) << line << metrics;

  // Refused: the job lost its baseline.
  rig.writeJob("1", {"NO=1", "URI=http://example.invalid/", "NAME=job 1", "TYPE=URL", "SOURCE=0"});
  rig.monitor->timers().check.fire();
  run = statusFile(rig);
  EXPECT_EQ(run.refusal, RunRecord::Refusal::NoBaseline);
  EXPECT_EQ(run.refusedJob, "1");
  EXPECT_NE(platform::readFile(rig.path("node/orvis.prom"))->find("orviswatch_last_pass_refused 1\n"),
            std::string::npos);

  rig.monitor->autoCheck().stopAutomaticMode();
  run = statusFile(rig);
  EXPECT_FALSE(run.automatic);
  EXPECT_FALSE(run.nextDueMs);
  EXPECT_EQ(run.refusal, RunRecord::Refusal::NoBaseline);  // the last pass stays
}

TEST(StatusReport, ExitStatusAndJson) {
  using R = ReportedResult;
  struct Case {
    bool monitor;
    RunRecord::Refusal refusal;
    std::vector<R> results;
    int exitStatus;
  };
  const RunRecord::Refusal none = RunRecord::Refusal::None;
  const Case cases[] = {
      {true, none, {R::Ok, R::Ok}, 0},
      {true, none, {}, 0},
      {true, none, {R::Ok, R::Changed}, 1},
      {true, none, {R::Changed, R::NoResponse}, 2},
      {true, none, {R::NotChecked}, 2},
      {true, RunRecord::Refusal::PassRunning, {R::Ok}, 2},
      {false, none, {R::Ok}, 3},
  };
  for (const Case& c : cases) {
    StatusReport report;
    report.dataFolder = "/data/";
    if (c.monitor) report.holder = FolderHolder{77, true};
    RunRecord run;
    run.pid = 77;
    run.refusal = c.refusal;
    report.run = run;
    for (R r : c.results) report.jobs.push_back({"1", "n", "URL", "t", r, true, std::nullopt});
    EXPECT_EQ(report.exitStatus(), c.exitStatus);
    EXPECT_NE(report.json().find("\"exit_status\": " + std::to_string(c.exitStatus) + "\n"),
              std::string::npos);
  }

  // Texts in UTF-8 with JSON's escapes; what is not known is null.
  testing::TempDir dir;
  testing::writeText(dir.path() + "info/1.ini",
                     platform::toCp932("[COMMON]\r\nNO=1\r\nNAME=監視 \"a\\b\"\r\nCHECK=R\r\n"));
  const std::string json = StatusReport::read(dir.path(), std::nullopt).json();
  for (const char* part :
       {"\"monitor\": {\"running\": false, \"pid\": null, \"started\": null, \"mode\": null",
        "\"last_pass\": null", "\"name\": \"監視 \\\"a\\\\b\\\"\"", "\"type\": \"URL\"",
        "\"result\": \"no_response\", \"last_change\": null, \"has_baseline\": false"})
    EXPECT_NE(json.find(part), std::string::npos) << part << json;
}

}  // namespace
}  // namespace orvis
