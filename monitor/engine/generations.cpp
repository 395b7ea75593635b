#include "generations.h"

#include "platform/files.h"

namespace orvis {

void shiftGenerations(const std::string& path) {
  auto generation = [&path](int k) { return path + "." + std::to_string(k); };
  for (int k = kGenerations - 1; k >= 1; --k) {
    if (platform::fileExists(generation(k))) platform::copyFile(generation(k), generation(k + 1));
  }
}

void rotateGenerations(const std::string& path) {
  shiftGenerations(path);
  if (platform::fileExists(path)) platform::copyFile(path, path + ".1");
}

}  // namespace orvis
