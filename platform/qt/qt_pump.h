#pragma once

#include <QCoreApplication>

#include "platform/pump.h"

namespace orvis::platform {

// Lets the queued window messages run once.
class QtPump : public Pump {
 public:
  void processEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace orvis::platform
