#pragma once

namespace trawlix {

// Process-wide libcurl set-up. Create one in main (and in test programs) before any thread
// starts; libcurl's global initialisation is not safe to race with other threads on every
// platform it supports. Nested guards are fine: libcurl counts them.
class NetworkGuard {
 public:
  NetworkGuard();
  ~NetworkGuard();
  NetworkGuard(const NetworkGuard&) = delete;
  NetworkGuard& operator=(const NetworkGuard&) = delete;

  // False when libcurl could not be initialised; every download then fails.
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

}  // namespace trawlix
