// The alarm as the user meets it in the main window, on a recording output
// device: the red panel that an automatic pass raises and ends, the sound
// check panel, the buttons that stop the sound, and the first show's
// message when the audio cannot start.

#include <QComboBox>
#include <QTest>
#include <QToolButton>
#include <cstdint>

#include "support/window_rig.h"

using namespace orvis;
using namespace orvis::ui;

namespace {

// A RIFF/WAVE file of `bytes` sample bytes: one ring buffer's worth or less,
// so that each play is a single buffer.
std::string soundFile(std::uint32_t bytes) {
  auto le32 = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  return "RIFF" + le32(12 + bytes) + "WAVE" + "data" + le32(bytes) + std::string(bytes, '\x11');
}

struct Window : orvis::testing::WindowRig {
  Window() {
    orvis::testing::writeText(dir / AlarmSoundPlayer::kSoundFileName, soundFile(3000));
    form.show();
  }
  PassAlarm& pass() { return form.monitor().passAlarm(); }
  void click(const char* button) { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }
  AlarmSoundPlayer& player = form.monitor().alarmSound();
  bool sounding() { return player.playing() || player.repeatTimer().enabled(); }
  // Lets each play end by itself and the repeat timer expire; the plays,
  // counting the one under way, at most `limit`.
  std::size_t playThrough(std::size_t limit = 5) {
    std::size_t plays = player.playing() ? 1 : 0;
    for (int i = 0; i < 20 && sounding() && plays < limit; ++i) {
      sound.finishAll();
      const std::size_t opened = sound.openedDevices.size();
      player.repeatTimer().fire();
      plays += sound.openedDevices.size() - opened;
    }
    return plays;
  }
  QWidget* alarmPanel() { return find("pnlDeviceError"); }
  QWidget* soundCheckPanel() { return find("PnlCheckBuzzer"); }
};

}  // namespace

class AlarmPanelsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void automaticPassRaisesAndEndsTheAlarm() {
    struct Case {
      const char* playCount;
      std::size_t plays;  // 5: still sounding after five
    } cases[] = {{"2", 2}, {"0", 0}, {"", 5}, {"abc", 5}};
    // In the background (a service start) the panel's own state counts,
    // and the next pass's start ends the alarm; in front, a quiet pass does.
    for (bool background : {false, true}) {
      for (const Case& c : cases) {
        Window w;
        if (background) w.form.hide();
        w.form.monitor().settings().current().playCount = c.playCount;
        w.pass().passEnded(true);
        QVERIFY2(!w.alarmPanel()->isHidden(), c.playCount);
        QCOMPARE(w.alarmPanel()->pos(), QPoint(368, 272));
        QCOMPARE(w.playThrough(), c.plays);
        background ? w.pass().passStarting() : w.pass().passEnded(false);
        QVERIFY2(w.alarmPanel()->isHidden() && !w.sounding(), c.playCount);
      }
    }
  }

  void buttonsShowHideAndStop() {
    Window w;
    w.pass().passEnded(true);
    w.click("SpeedButton9");
    QVERIFY(w.alarmPanel()->isHidden() && !w.sounding());

    auto* choice = w.find<QComboBox>("ComboBox4");
    choice->setCurrentIndex(-1);
    w.click("SpeedButton20");
    QVERIFY(w.soundCheckPanel()->isVisible());
    QCOMPARE(w.soundCheckPanel()->pos(), QPoint(4, 150));
    QCOMPARE(choice->currentText(), QStringLiteral("Disconnect Sound."));
    // "停止" on the panel and "警告音停止" stop for good, also in the pause
    // between two plays; "Close" leaves the sound playing.
    for (const char* stop : {"SpeedButton11", "SpeedButton21"}) {
      w.click("SpeedButton23");
      QCOMPARE(w.playThrough(), std::size_t(5));
      w.click("SpeedButton22");
      QVERIFY(w.soundCheckPanel()->isHidden() && w.sounding());
      w.click("SpeedButton20");
      w.sound.finishAll();
      w.click(stop);
      QVERIFY2(!w.sounding() && !w.sound.isOpen, stop);
    }
  }

  void firstShowMessageWhenAudioCannotStart() {
    // Audio set up already: the first show's attempt fails.
    for (bool failing : {false, true}) {
      orvis::testing::WindowServices s;
      auto form = s.makeWindow();
      if (failing) form->monitor().alarmSound().initialise();
      form->show();
      QCOMPARE(s.prompter.shown().size(), std::size_t(failing));
      if (failing) {
        const auto& box = s.prompter.shown()[0];
        QCOMPARE(box.text, QStringLiteral("ブザー再生用デバイスが見つかりません。"));
        QCOMPARE(box.caption, QStringLiteral("OrvisWatch"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
      }
      // The start goes on: the mode restore is armed.
      QVERIFY(form->monitor().timers().startup.enabled());
    }
  }
};

QTEST_MAIN(AlarmPanelsWindowTest)
#include "alarm_panels_window_test.moc"
