#pragma once
// The extra certificate authorities that SSL_CERT_FILE names, trusted beside
// the system's own, by one rule for every program that speaks TLS: a named
// file that is not there is passed over with a log line, and the system's
// authorities still serve.

#include <string>

namespace orvis::platform {

struct ExtraCaFile {
  std::string path;  // the file to trust besides the system's; empty: none
  std::string note;  // CP932, a log line when the named file is not there
};

// `named`: the value of SSL_CERT_FILE, null when it is not set.
ExtraCaFile extraCaFile(const char* named);

}  // namespace orvis::platform
