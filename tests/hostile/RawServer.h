#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace trawlix::testing {

// A server on 127.0.0.1 that answers every connection with the same raw bytes and closes
// it: a body that ends where the server chooses, whatever it announced.
class RawServer {
 public:
  explicit RawServer(std::string reply) : reply_(std::move(reply)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      for (;;) {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0 || closing_) break;
        char request[4096];
        (void)::recv(client, request, sizeof request, 0);
        (void)::send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
        ::close(client);
      }
    });
  }
  ~RawServer() {
    closing_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
  }
  std::string URL(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  std::string reply_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> closing_{false};
  std::thread thread_;
};

}  // namespace trawlix::testing
