// A request to end while actions run: the running ones give up, the stop
// sequence runs once, after the outermost one has returned, and nothing
// starts or asks after it.

#include "monitor/shell/stop_request.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
struct StopRig {
  StopRig() {
    stop.setStopSequence([this] { events.push_back("stop sequence"); });
  }
  TempDir dir;
  FakeClock clock;
  FakePrompter prompter;
  SysLog log{dir.path(), clock};
  platform::StopFlag flag;
  MessageBoxes boxes{log, prompter, false, flag};
  StopRequest stop{flag, boxes};
  std::vector<std::string> events;
};
using Events = std::vector<std::string>;
}  // namespace

TEST(StopRequest, IdleRequestStopsAtOnceAndOnlyOnceThenNothingStarts) {
  StopRig r;
  r.stop.request();
  r.stop.request();
  r.stop.runAction([&] { r.events.push_back("action"); });
  EXPECT_EQ(r.events, Events{"stop sequence"});
}

TEST(StopRequest, RequestInNestedActionsStopsAfterTheOutermostReturns) {
  StopRig r;
  r.stop.runAction([&] {
    r.events.push_back("outer");
    // An action started by the messages that the outer one lets run.
    r.stop.runAction([&] {
      r.stop.request();
      r.events.push_back("inner returns");
    });
    EXPECT_TRUE(r.stop.actionRunning());
    r.stop.runAction([&] { r.events.push_back("never"); });
    r.events.push_back("outer returns");
  });
  EXPECT_EQ(r.events, (Events{"outer", "inner returns", "outer returns", "stop sequence"}));
  EXPECT_FALSE(r.stop.actionRunning());
}

TEST(StopRequest, ErrorLeavingAnActionKeepsTheCountRight) {
  StopRig r;
  EXPECT_THROW(r.stop.runAction([] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_FALSE(r.stop.actionRunning());
  r.stop.request();
  EXPECT_EQ(r.events, Events{"stop sequence"});
}

TEST(StopRequest, OpenQuestionIsClosedUnansweredAndNoneOpensAfterIt) {
  StopRig r;
  r.prompter.onAsk = [&](const FakePrompter::Question&) { r.stop.request(); };
  int answer = -1, later = -1;
  r.stop.runAction([&] {
    answer = r.boxes.show("question", "OrvisWatch", mb::OK);
    later = r.boxes.show("later", "OrvisWatch", mb::OK);
  });
  EXPECT_EQ(answer, mb::IdNone);
  EXPECT_EQ(later, mb::IdNone);
  EXPECT_EQ(r.prompter.questions().size(), 1u);
  EXPECT_EQ(r.prompter.interruptions(), 1);
  // The closed one is logged as unanswered; the one never opened not at all.
  EXPECT_EQ(readLogLines(r.dir / "syslog/"), std::vector<std::string>{"(OrvisWatch),question->0"});
  EXPECT_EQ(r.events, Events{"stop sequence"});
}
