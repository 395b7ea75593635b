#pragma once
// PageFetcher over libcurl. Redirections followed, HTTP and HTTPS only,
// certificates verified, no proxy from the environment.

#include "page_fetcher.h"

namespace orvis::fetcher {

class CurlPageFetcher : public PageFetcher {
 public:
  FetchResult fetch(const FetchRequest& request) override;
  FetchResult stream(const FetchRequest& request, BodySink& sink) override;
};

}  // namespace orvis::fetcher
