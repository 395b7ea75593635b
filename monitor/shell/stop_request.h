#pragma once
// How the monitor ends in order when it is asked to end while an action is
// running (a question on screen, a wait for a child, a pass between its
// pumps). The request raises the stop flag at once and closes the open
// boxes; every wait, pump and box of the action then answers "interrupted"
// and the action returns without writing anything more. The stop sequence
// runs only when no action runs any longer: at once when idle, else as the
// outermost action returns. So it never runs inside a nested loop, and
// nothing is written after it.

#include <functional>

#include "message_boxes.h"
#include "platform/stop_flag.h"

namespace orvis {

class StopRequest {
 public:
  StopRequest(platform::StopFlag& flag, const MessageBoxes& boxes) : flag_(flag), boxes_(boxes) {}
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  // What ends the program: the stop sequence and the quit. Runs once.
  void setStopSequence(std::function<void()> sequence) { sequence_ = std::move(sequence); }

  // Runs one action entered from the event loop: a click, a timer's handler,
  // the first show. An action started by the messages that another one lets
  // run is part of that one. Nothing starts once a stop was requested.
  void runAction(const std::function<void()>& action);

  // Asks for the stop (see above). Further requests change nothing.
  void request();

  bool requested() const { return flag_.raised(); }
  bool actionRunning() const { return depth_ > 0; }

 private:
  void stopIfIdle();

  platform::StopFlag& flag_;
  const MessageBoxes& boxes_;
  std::function<void()> sequence_;
  int depth_ = 0;
  bool stopped_ = false;
};

}  // namespace orvis
