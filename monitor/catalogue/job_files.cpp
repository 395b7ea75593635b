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

WriteError cannotCreate(const std::string& path, const std::string& why) {
  return "Cannot create file \"" + platform::toCp932(path) + "\". " + platform::toCp932(why);
}

// Writes the file whole; the error text when it cannot. (The system's text
// of the error is UTF-8 in the user's language.)
WriteError writeWhole(const std::string& path, const std::string& bytes) {
  if (platform::writeFileAtomic(path, bytes)) return {};
  return cannotCreate(path, std::strerror(errno));
}

WriteError cannotUpdate(const std::string& path) {
  return "Cannot update file \"" + platform::toCp932(path) + "\". It no longer exists.";
}

}  // namespace

std::string JobFiles::path(const char* folder, const std::string& no, const char* ext) const {
  return jobFileIn(dataFolder_, folder, no, ext).value_or(std::string());
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

WriteError JobFiles::create(const JobRecord& j) {
  const std::string file = jobFile(j.number);
  if (file.empty()) return unusable(j.number, ".ini");
  platform::makeFolders(dataFolder_ + kJobFolder);
  std::vector<std::string> lines = {
      "[COMMON]",
      "NO=" + j.number,
      "URI=" + j.target,
      "NAME=" + j.name,
      "USEPROXY=" + j.useProxy.text(),
      "USEUSERMAIL=" + j.ownMail.text(),
      "USERMAILHTML=" + j.htmlMail.text(),
      "MAILGROUP=" + j.mailGroup,
      "CHKKOBETSU=" + j.ownCompareRules.text(),
      "CHKHIKAKU=" + j.compareContent.text(),
      "CHKSCRIPT=" + j.ignoreScript.text(),
      "CHKCOMMENT=" + j.ignoreComment.text(),
      "CHKREF=" + j.ignoreLinks.text(),
      "CHKSRC=" + j.ignoreSrc.text(),
      "CHKALT=" + j.ignoreAlt.text(),
      "CHKHEAD=" + j.ignoreHead.text(),
      "CHKWORD=" + j.wordCheck.text(),
      "WORD=" + j.word,
      "CHKSUBFOLDER=" + j.includeSubfolders.text(),
      "TYPE=" + j.type.text(),
      "SOURCE=",
      "CHECK=",
  };
  return writeWhole(file, platform::joinLinesCrLf(lines));
}

WriteError JobFiles::update(const JobRecord& j, const JobMail& mail) {
  const std::string file = jobFile(j.number);
  if (file.empty()) return unusable(j.number, ".ini");
  // A file removed meanwhile is not made again from the keys written after
  // that: the update ends there.
  bool gone = false;
  auto put = [&](const char* key, const std::string& value) {
    if (!gone) gone = ini_.writeExisting(file, jobkey::kSection, key, value) == IniAccess::kMissing;
  };
  put(jobkey::NO, j.number);
  put(jobkey::URI, j.target);
  put(jobkey::NAME, j.name);
  put(jobkey::SOURCE, "");
  put(jobkey::CHECK, "");
  put(jobkey::USEPROXY, j.useProxy.text());
  put(jobkey::USEUSERMAIL, j.ownMail.text());
  put(jobkey::USERMAILHTML, j.htmlMail.text());
  put(jobkey::MAILGROUP, j.mailGroup);
  if (gone) return cannotUpdate(file);
  if (WriteError e = writeMailFiles(j.number, mail); !e.empty()) return e;
  put(jobkey::CHKKOBETSU, j.ownCompareRules.text());
  put(jobkey::CHKHIKAKU, j.compareContent.text());
  put(jobkey::CHKSCRIPT, j.ignoreScript.text());
  put(jobkey::CHKCOMMENT, j.ignoreComment.text());
  put(jobkey::CHKREF, j.ignoreLinks.text());
  put(jobkey::CHKSRC, j.ignoreSrc.text());
  put(jobkey::CHKALT, j.ignoreAlt.text());
  put(jobkey::CHKHEAD, j.ignoreHead.text());
  put(jobkey::CHKWORD, j.wordCheck.text());
  put(jobkey::WORD, j.word);
  put(jobkey::CHKSUBFOLDER, j.includeSubfolders.text());
  put(jobkey::TYPE, j.type.text());
  return gone ? cannotUpdate(file) : WriteError();
}

WriteError JobFiles::writeMailFiles(const std::string& no, const JobMail& mail) {
  const std::string sub = subjectFile(no);
  if (sub.empty()) return unusable(no, ".sub");
  platform::makeFolders(dataFolder_ + kUserMailFolder);
  if (WriteError e = writeWhole(sub, mail.subject + "\r\n"); !e.empty()) return e;
  return writeWhole(bodyFile(no), platform::joinLinesCrLf(mail.body));
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
