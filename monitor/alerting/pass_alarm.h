#pragma once
// What an automatic check pass does to the alarm: it silences the alarm of
// the previous pass as it starts, and raises the alarm (sound and the red
// panel) when it ends with a changed job. A manual pass never touches it.

namespace orvis {

class PassAlarm {
 public:
  virtual ~PassAlarm() = default;
  // Before the jobs are checked: a visible alarm panel stops its sound and
  // hides.
  virtual void passStarting() = 0;
  // After the job list is reloaded: with a changed job, the sound plays the
  // set number of times and the panel shows; without one, any alarm ends.
  virtual void passEnded(bool anyJobChanged) = 0;
};

}  // namespace orvis
