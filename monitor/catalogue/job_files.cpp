#include "job_files.h"

#include <cerrno>
#include <cstring>

#include "job_keys.h"
#include "job_paths.h"
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

std::string JobFiles::path(const char* folder, const std::string& no, const char* ext) const {
  return jobFileIn(s_, folder, no, ext).value_or(std::string());
}

WriteError JobFiles::unusable(const std::string& no, const char* ext) const {
  return "Cannot create file \"" + no + ext +
         "\". A job number must not be blank and cannot hold \"/\".";
}

std::string JobFiles::jobFile(const std::string& no) const { return path(kJobFolder, no, ".ini"); }
std::string JobFiles::subjectFile(const std::string& no) const {
  return path(kUserMailFolder, no, ".sub");
}
std::string JobFiles::bodyFile(const std::string& no) const {
  return path(kUserMailFolder, no, ".bdy");
}

WriteError JobFiles::create(const JobDefinition& j) {
  const std::string file = jobFile(j.no);
  if (file.empty()) return unusable(j.no, ".ini");
  platform::makeFolders(s_.path(kJobFolder));
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
  if (file.empty()) return unusable(j.no, ".ini");
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
  if (sub.empty()) return unusable(j.no, ".sub");
  platform::makeFolders(s_.path(kUserMailFolder));
  if (WriteError e = writeWhole(sub, j.subject + "\r\n"); !e.empty()) return e;
  return writeWhole(bodyFile(j.no), platform::joinLinesCrLf(j.body));
}

void JobFiles::remove(const std::string& no) {
  if (!usableAsFileName(no)) return;
  platform::removeFile(jobFile(no));
  platform::removeFile(path(kBaselineFolder, no, ".ini"));
  platform::removeFile(subjectFile(no));
  platform::removeFile(bodyFile(no));
}

std::string JobFiles::readSubject(const std::string& no) const {
  return usableAsFileName(no) ? platform::readFirstLine(subjectFile(no)) : std::string();
}

std::vector<std::string> JobFiles::readBody(const std::string& no) const {
  if (!usableAsFileName(no)) return {};
  return platform::readLines(bodyFile(no)).value_or(std::vector<std::string>());
}

}  // namespace orvis
