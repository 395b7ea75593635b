#include "ca_file.h"

#include "codec.h"
#include "files.h"

namespace orvis::platform {

ExtraCaFile extraCaFile(const char* named) {
  ExtraCaFile extra;
  if (!named || !*named) return extra;
  if (fileExists(named)) {
    extra.path = named;
  } else {
    extra.note = SJIS("SSL_CERT_FILEのファイルがありません。システムの認証局だけを使います:") +
                 toCp932(named);
  }
  return extra;
}

}  // namespace orvis::platform
