#include "monitor_rig.h"

#include "platform/codec.h"

namespace orvis::testing {

MonitorRig::MonitorRig(std::vector<std::string> a, std::string dataFolder)
    : args(std::move(a)), folder_(std::move(dataFolder)) {}

Monitor& MonitorRig::create() {
  MonitorHost host{
      folder(), StartInfo::fromArguments(args), clock, pump, prompter, launcher, processes, disks,
      sound};
  monitor = std::make_unique<Monitor>(host, MonitorViews{shell, grid, editor, tray, alarm});
  monitor->startUp();
  return *monitor;
}

Monitor& MonitorRig::start() {
  create();
  monitor->windowShown();
  monitor->timers().startup.fire();
  return *monitor;
}

FakeTimerDriver& MonitorRig::driveMonitorTimers() {
  MonitorTimers& t = monitor->timers();
  for (platform::Timer* timer : {&t.check, &t.reactivation}) timer->attach(&timers);
  return timers;
}

std::vector<std::string> MonitorRig::log() const {
  std::vector<std::string> lines;
  for (const auto& l : readLogLines(folder() + "syslog/")) lines.push_back(platform::toUtf8(l));
  return lines;
}

void MonitorRig::writeJob(const std::string& number, const std::vector<std::string>& keyValues) {
  std::string text = "[COMMON]\r\n";
  for (const auto& kv : keyValues) text += platform::toCp932(kv) + "\r\n";
  writeText(folder() + "info/" + number + ".ini", text);
}

}  // namespace orvis::testing
