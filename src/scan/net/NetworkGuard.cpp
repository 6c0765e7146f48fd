#include "scan/net/NetworkGuard.h"

#include <curl/curl.h>

namespace trawlix {

NetworkGuard::NetworkGuard() : ok_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}

NetworkGuard::~NetworkGuard() {
  if (ok_) curl_global_cleanup();
}

}  // namespace trawlix
