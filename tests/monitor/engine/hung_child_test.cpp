// Children that never end, on the fake clock: the page fetcher and the
// mailer are ended when their time limits pass, the log says so, and the
// pass goes on as for a page that did not answer and a mail that failed.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

TEST(HungChildren, AFetcherAndAMailerThatNeverEndAreEndedAndThePassGoesOn) {
  CheckRig rig;
  writeText(rig.path("mail/list.txt"),
            "a@example.com,0\r\nb@example.com,0\r\nc@example.com,0\r\nd@example.com,1\r\n");
  rig.job("1", "URL", "http://hangs.example/");
  rig.job("2", "FILE", rig.path("watched"));
  writeText(rig.path("watched/a.txt"), "x");
  rig.baseline("2", rig.listing(rig.path("watched")));
  // Every child runs for ever; each 50 ms wait is 50 ms of its time.
  rig.launcher.waitsBeforeEnd = 1 << 30;
  rig.launcher.onWait = [&rig] { rig.clock.advanceMs(50); };

  const long long start = rig.clock.steadyMs();
  EXPECT_EQ(rig.check(1, 2), CheckPass::End::Completed);
  const long long took = rig.clock.steadyMs() - start;

  const std::vector<std::string> log = rig.messages();
  auto count = [&log](const std::string& line) { return std::count(log.begin(), log.end(), line); };
  // The first sweep and three retries, each fetch ended after 180 s.
  EXPECT_EQ(count("1->urlcheckが180秒以内に終わらないため終了させました。"), 4);
  EXPECT_EQ(count("1->応答エラー"), 4);
  EXPECT_EQ(count("1->接続リトライオーバー"), 1);
  // The response-error alert's mailer: three recipients, beyond alertmail's
  // own worst case of two minutes each and one for QUIT.
  EXPECT_EQ(count("メール送信プログラムが時間内(480秒)に終わらないため終了させました。"
                  "メールは送信されていない可能性があります。"),
            1);
  EXPECT_EQ(rig.launcher.terminations, 5);
  EXPECT_EQ(rig.jobValue("1", "CHECK"), "R");
  EXPECT_EQ(count("2->OK"), 1);
  EXPECT_GE(took, 4 * 180'000 + 480'000);
  EXPECT_LT(took, 4 * 181'000 + 481'000);
}
