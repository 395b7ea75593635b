#pragma once

#include <QCoreApplication>

#include "platform/pump.h"

namespace orvis::ui {

// Lets the queued window messages run once.
class QtPump : public platform::Pump {
 public:
  void processEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace orvis::ui
