#pragma once

#include <netdb.h>

#include <string>

struct sockaddr;

namespace trawlix {

// Loopback, private (RFC 1918, unique local), link-local, carrier-grade NAT and unspecified
// addresses, IPv4 (also mapped into IPv6) and IPv6: the ones a scan of a public site must
// not be led to.
bool IsLocalNetworkAddress(const sockaddr& address);
// The same for an address in text ("10.0.0.1", "::1"); false for anything else.
bool IsLocalNetworkAddress(const std::string& address);

// Whether every address of a host is such an address: a name that also resolves to a
// public address is a public site, whatever else it names.
bool AllLocalNetworkAddresses(const addrinfo* addresses);

// Whether the address's host resolves to local network addresses only (or is one): a scan
// that starts on the local network may stay there. Every connection is still checked
// against the address it is made to.
bool IsOnLocalNetwork(const std::string& url);

}  // namespace trawlix
