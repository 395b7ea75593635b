#include "message_files.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis::postiva {

int loadMessageFiles(const std::string& workFolder, const std::string& mailType,
                     std::string& subject, std::vector<std::string>& body) {
  subject.clear();
  body.clear();
  // The mail type only names files of the work folder: a '/' would reach
  // into other folders, a NUL byte would cut the name short.
  if (mailType.find_first_of(std::string_view("/\0", 2)) != std::string::npos) return -1;
  // The mail type is CP932 text from the list; the file system names are UTF-8.
  std::string type = platform::toUtf8(mailType);
  auto subjectText = platform::readFile(workFolder + "/Subject-" + type + ".txt");
  if (!subjectText) return -1;
  auto subjectLines = platform::splitLines(*subjectText);
  if (!subjectLines.empty()) subject = subjectLines.front();
  if (subject.empty()) return -1;

  auto bodyText = platform::readFile(workFolder + "/Body-" + type + ".txt");
  if (!bodyText) return -1;
  body = platform::splitLines(*bodyText);
  return body.empty() ? -1 : 0;
}

}  // namespace orvis::postiva
