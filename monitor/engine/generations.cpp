#include "generations.h"

#include "platform/files.h"

namespace orvis {

void rotateGenerations(const std::string& path) {
  auto generation = [&path](int k) { return path + "." + std::to_string(k); };
  for (int k = kGenerations - 1; k >= 1; --k) {
    if (platform::fileExists(generation(k))) platform::copyFile(generation(k), generation(k + 1));
  }
  if (platform::fileExists(path)) platform::copyFile(path, generation(1));
}

}  // namespace orvis
