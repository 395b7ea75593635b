#include "fetch_arguments.h"

namespace orvis::fetcher {

std::optional<FetchArguments> parseFetchArguments(const std::vector<std::string>& args) {
  if (args.size() < 3) return std::nullopt;
  FetchArguments out;
  for (size_t i = 0; i + 2 < args.size(); ++i) {
    if (i > 0) out.address += ' ';
    out.address += args[i];
  }
  out.outputPath = args[args.size() - 2];
  out.proxyFlag = args.back();
  out.useProxy = out.proxyFlag == "1";
  return out;
}

}  // namespace orvis::fetcher
