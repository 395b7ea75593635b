#pragma once
// "Let queued window messages run" with Qt's event loop.

#include <QCoreApplication>

#include "platform/pump.h"

namespace orvis::postiva {

class QtPump : public platform::Pump {
 public:
  void processEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace orvis::postiva
