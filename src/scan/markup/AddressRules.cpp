#include "scan/markup/AddressRules.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace trawlix {

namespace {

bool IsLocalV4(std::uint32_t a) {
  const struct {
    std::uint32_t net;
    int bits;
  } ranges[] = {{0x00000000, 8},  {0x0A000000, 8},  {0x7F000000, 8}, {0x64400000, 10},
                {0xA9FE0000, 16}, {0xAC100000, 12}, {0xC0A80000, 16}};
  for (const auto& range : ranges) {
    const std::uint32_t mask = ~std::uint32_t{0} << (32 - range.bits);
    if ((a & mask) == range.net) return true;
  }
  return false;
}

bool IsLocalV6(const std::array<std::uint8_t, 16>& a) {
  static constexpr std::array<std::uint8_t, 16> kZero{};
  std::array<std::uint8_t, 16> loopback{};
  loopback[15] = 1;
  if (a == kZero || a == loopback) return true;
  if ((a[0] & 0xFE) == 0xFC) return true;                  // unique local fc00::/7
  if (a[0] == 0xFE && (a[1] & 0xC0) == 0x80) return true;  // link-local fe80::/10
  const bool mapped =
      std::all_of(a.begin(), a.begin() + 10, [](std::uint8_t b) { return b == 0; }) &&
      a[10] == 0xFF && a[11] == 0xFF;
  if (mapped) {
    return IsLocalV4(std::uint32_t{a[12]} << 24 | std::uint32_t{a[13]} << 16 |
                     std::uint32_t{a[14]} << 8 | a[15]);
  }
  return false;
}

}  // namespace

bool IsLocalNetworkAddress(const sockaddr& address) {
  if (address.sa_family == AF_INET) {
    sockaddr_in v4{};
    std::memcpy(&v4, &address, sizeof v4);
    return IsLocalV4(ntohl(v4.sin_addr.s_addr));
  }
  if (address.sa_family == AF_INET6) {
    sockaddr_in6 v6{};
    std::memcpy(&v6, &address, sizeof v6);
    std::array<std::uint8_t, 16> bytes{};
    std::memcpy(bytes.data(), &v6.sin6_addr, bytes.size());
    return IsLocalV6(bytes);
  }
  return false;
}

bool IsLocalNetworkAddress(const std::string& address) {
  in_addr v4{};
  if (inet_pton(AF_INET, address.c_str(), &v4) == 1) return IsLocalV4(ntohl(v4.s_addr));
  std::array<std::uint8_t, 16> v6{};
  return inet_pton(AF_INET6, address.c_str(), v6.data()) == 1 && IsLocalV6(v6);
}

bool AllLocalNetworkAddresses(const addrinfo* addresses) {
  if (addresses == nullptr) return false;
  for (const addrinfo* entry = addresses; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_addr == nullptr || !IsLocalNetworkAddress(*entry->ai_addr)) return false;
  }
  return true;
}

bool IsOnLocalNetwork(const std::string& url) {
  std::string host;
  if (CURLU* parts = curl_url()) {
    char* name = nullptr;
    if (curl_url_set(parts, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
        curl_url_get(parts, CURLUPART_HOST, &name, 0) == CURLUE_OK) {
      host = name;
    }
    curl_free(name);
    curl_url_cleanup(parts);
  }
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) return false;
  const std::unique_ptr<addrinfo, void (*)(addrinfo*)> list(found, ::freeaddrinfo);
  return AllLocalNetworkAddresses(found);
}

}  // namespace trawlix
