#include "job_key_write.h"

#include "job_keys.h"
#include "platform/codec.h"

namespace orvis {

int writeJobKey(const IniAccess& ini, const SysLog& log, const JobRecord& job, const char* key,
                const std::string& value) {
  const int written = job.file.empty() ? IniAccess::kMissing
                                       : ini.writeExisting(job.file, jobkey::kSection, key, value);
  if (written == IniAccess::kMissing)
    log.write(job.number + SJIS("->ジョブファイルがないため書き込みません:") + key + "=" + value +
              "," + platform::toCp932(job.file));
  return written == 0 ? 0 : -1;
}

}  // namespace orvis
