#include "job_files.h"

#include <cerrno>
#include <cstring>

#include "job_keys.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {

const char* flag(bool on) { return on ? "1" : "0"; }

WriteError cannotCreate(const std::string& path, const std::string& why) {
  return "Cannot create file \"" + platform::toCp932(path) + "\". " + why;
}

// Writes the file whole; the error text when it cannot.
WriteError writeWhole(const std::string& path, const std::string& bytes) {
  if (platform::writeFileAtomic(path, bytes)) return {};
  return cannotCreate(path, std::strerror(errno));
}

}  // namespace

bool JobFiles::isUsableNumber(const std::string& no) {
  return !no.empty() && no != "." && no != ".." && no.find('/') == std::string::npos &&
         no.find('\0') == std::string::npos;
}

std::string JobFiles::path(const char* folder, const std::string& no, const char* ext) const {
  // The number is CP932 text; the file system names files in UTF-8.
  return s_.path(folder) + platform::toUtf8(no) + ext;
}

std::string JobFiles::jobFile(const std::string& no) const { return path("info/", no, ".ini"); }
std::string JobFiles::baselineFile(const std::string& no) const { return path("src/", no, ".ini"); }
std::string JobFiles::subjectFile(const std::string& no) const { return path("userMail/", no, ".sub"); }
std::string JobFiles::bodyFile(const std::string& no) const { return path("userMail/", no, ".bdy"); }

WriteError JobFiles::create(const JobDefinition& j) {
  const std::string file = jobFile(j.no);
  if (!isUsableNumber(j.no)) return cannotCreate(file, "A job number cannot hold \"/\".");
  platform::makeFolders(s_.path("info/"));
  std::vector<std::string> lines = {
      "[COMMON]",
      std::string("NO=") + j.no,
      "URI=" + j.uri,
      "NAME=" + j.name,
      std::string("USEPROXY=") + flag(j.useProxy),
      std::string("USEUSERMAIL=") + flag(j.useUserMail),
      std::string("USERMAILHTML=") + flag(j.userMailHtml),
      "MAILGROUP=" + std::to_string(j.mailGroup),
      std::string("CHKKOBETSU=") + flag(j.chkKobetsu),
      std::string("CHKHIKAKU=") + flag(j.chkHikaku),
      std::string("CHKSCRIPT=") + flag(j.chkScript),
      std::string("CHKCOMMENT=") + flag(j.chkComment),
      std::string("CHKREF=") + flag(j.chkRef),
      std::string("CHKSRC=") + flag(j.chkSrc),
      std::string("CHKALT=") + flag(j.chkAlt),
      std::string("CHKHEAD=") + flag(j.chkHead),
      std::string("CHKWORD=") + flag(j.chkWord),
      "WORD=" + j.word,
      std::string("CHKSUBFOLDER=") + flag(j.chkSubFolder),
      "TYPE=" + j.type,
      "SOURCE=",
      "CHECK=",
  };
  return writeWhole(file, platform::joinLinesCrLf(lines));
}

WriteError JobFiles::update(const JobDefinition& j) {
  const std::string file = jobFile(j.no);
  if (!isUsableNumber(j.no)) return cannotCreate(file, "A job number cannot hold \"/\".");
  auto put = [&](const char* key, const std::string& value) {
    s_.ini.IniWriteRetry(file, jobkey::kSection, key, value);
  };
  put(jobkey::NO, j.no);
  put(jobkey::URI, j.uri);
  put(jobkey::NAME, j.name);
  put(jobkey::SOURCE, "");
  put(jobkey::CHECK, "");
  put(jobkey::USEPROXY, flag(j.useProxy));
  put(jobkey::USEUSERMAIL, flag(j.useUserMail));
  put(jobkey::USERMAILHTML, flag(j.userMailHtml));
  put(jobkey::MAILGROUP, std::to_string(j.mailGroup));
  if (WriteError e = writeMailFiles(j); !e.empty()) return e;
  put(jobkey::CHKKOBETSU, flag(j.chkKobetsu));
  put(jobkey::CHKHIKAKU, flag(j.chkHikaku));
  put(jobkey::CHKSCRIPT, flag(j.chkScript));
  put(jobkey::CHKCOMMENT, flag(j.chkComment));
  put(jobkey::CHKREF, flag(j.chkRef));
  put(jobkey::CHKSRC, flag(j.chkSrc));
  put(jobkey::CHKALT, flag(j.chkAlt));
  put(jobkey::CHKHEAD, flag(j.chkHead));
  put(jobkey::CHKWORD, flag(j.chkWord));
  put(jobkey::WORD, j.word);
  put(jobkey::CHKSUBFOLDER, flag(j.chkSubFolder));
  put(jobkey::TYPE, j.type);
  return {};
}

WriteError JobFiles::writeMailFiles(const JobDefinition& j) {
  const std::string sub = subjectFile(j.no);
  if (!isUsableNumber(j.no)) return cannotCreate(sub, "A job number cannot hold \"/\".");
  platform::makeFolders(s_.path("userMail/"));
  if (WriteError e = writeWhole(sub, j.subject + "\r\n"); !e.empty()) return e;
  return writeWhole(bodyFile(j.no), platform::joinLinesCrLf(j.body));
}

void JobFiles::remove(const std::string& no) {
  if (!isUsableNumber(no)) return;
  platform::removeFile(jobFile(no));
  platform::removeFile(baselineFile(no));
  platform::removeFile(subjectFile(no));
  platform::removeFile(bodyFile(no));
}

std::string JobFiles::readSubject(const std::string& no) const {
  if (!isUsableNumber(no)) return {};
  auto text = platform::readFile(subjectFile(no));
  if (!text) return {};
  auto lines = platform::splitLines(*text);
  return lines.empty() ? std::string() : lines.front();
}

std::vector<std::string> JobFiles::readBody(const std::string& no) const {
  if (!isUsableNumber(no)) return {};
  auto text = platform::readFile(bodyFile(no));
  return text ? platform::splitLines(*text) : std::vector<std::string>{};
}

}  // namespace orvis
