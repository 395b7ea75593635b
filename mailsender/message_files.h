#pragma once
// The subject and body files of one mail type, read anew for every
// recipient: work folder + "/Subject-" + type + ".txt" (first line only) and
// "/Body-" + type + ".txt" (every line, empty ones included).

#include <string>
#include <vector>

namespace orvis::postiva {

// Fills subject and body; 0, or -1 when a file is missing, the subject's
// first line is empty or the body has no line at all, or the mail type holds
// a '/' or a NUL byte (it names files of the work folder only). Both are
// cleared first.
int loadMessageFiles(const std::string& workFolder, const std::string& mailType,
                     std::string& subject, std::vector<std::string>& body);

}  // namespace orvis::postiva
