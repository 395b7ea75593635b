#include "check_rig.h"

#include "monitor/engine/file_listing.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace orvis::testing {

CheckRig::CheckRig(std::vector<std::string> a, std::string dataFolder)
    : MonitorRig(std::move(a), std::move(dataFolder)) {
  if (!platform::pathExists(path("mail/list.txt")))
    writeText(path("mail/list.txt"), "watch@example.com,0\r\n");
  launcher.onRun = [this](const FakeLauncher::Launch& launch) {
    const std::vector<std::string> args = platform::splitCommandLine(launch.commandLine);
    if (args.at(0).ends_with("/urlcheck"))
      fetched(args.at(1));
    else if (args.at(0).ends_with("/alertmail"))
      mailed(args);
  };
}

void CheckRig::fetched(const std::string& uri) {
  ++fetches[uri];
  auto page = pages.find(uri);
  writeText(path("temp/srctemp.txt"), page == pages.end() ? "" : page->second);
}

void CheckRig::mailed(const std::vector<std::string>& args) {
  RaisedAlert alert{args.at(2), args.at(3), "", ""};
  const std::vector<std::string> body = readLines(path("mail/Body-0.txt"));
  for (size_t i = 0; i < body.size(); ++i) {
    const std::string line = platform::toUtf8(body[i]);
    if (line.starts_with("【内　容】"))
      alert.message = line.substr(std::string("【内　容】").size());
    if (line != "【更新検出個所】") continue;
    // The difference runs to the empty line that closes the body.
    for (size_t k = i + 1; k + 1 < body.size(); ++k)
      alert.detail += platform::toUtf8(body[k]) + (k + 2 < body.size() ? "\r\n" : "");
    break;
  }
  alerts.push_back(alert);
}

void CheckRig::job(const std::string& no, const std::string& type, const std::string& uri,
                   const std::vector<std::string>& extra) {
  std::vector<std::string> lines{"NO=" + no,     "URI=" + uri, "NAME=job " + no, "MAILGROUP=0",
                                 "TYPE=" + type, "SOURCE=1",   "CHECK="};
  lines.insert(lines.end(), extra.begin(), extra.end());
  writeJob(no, lines);
}

void CheckRig::baseline(const std::string& no, const std::string& bytes) {
  writeText(path("src/" + no + ".ini"), bytes);
}

std::string CheckRig::listing(const std::string& folder) {
  const platform::StopFlag never;
  return FileListing(MonitorRig::folder(), pump, never).list(folder, false).value_or("<stopped>");
}

std::string CheckRig::jobValue(const std::string& no, const std::string& key) const {
  auto doc = platform::loadIniFile(path("info/" + no + ".ini"));
  return doc ? doc->get("COMMON", key).value_or("<none>") : "<no file>";
}

CheckPass::End CheckRig::check(int firstRow, int lastRow) {
  if (!monitor) {
    start();
    newMessages();
  }
  return monitor->checkPass().run(firstRow, lastRow);
}

std::vector<std::string> CheckRig::messages() const {
  std::vector<std::string> lines;
  for (const std::string& line : log()) lines.push_back(line.substr(line.find(',') + 1));
  return lines;
}

std::vector<std::string> CheckRig::newMessages() {
  std::vector<std::string> all = messages();
  std::vector<std::string> fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())),
                                 all.end());
  seen_ = all.size();
  return fresh;
}

}  // namespace orvis::testing
