#pragma once

#include <string>

struct sockaddr;

namespace trawlix {

// Loopback, private (RFC 1918, unique local), link-local, carrier-grade NAT and unspecified
// addresses, IPv4 (also mapped into IPv6) and IPv6: the ones a scan of a public site must
// not be led to.
bool IsLocalNetworkAddress(const sockaddr& address);

// Whether the address's host resolves to such an address (or is one): a scan that starts
// on the local network may stay there.
bool IsOnLocalNetwork(const std::string& url);

}  // namespace trawlix
