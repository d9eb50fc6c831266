#pragma once
// A loopback port that accepts TCP connections (the kernel completes them) and never says a word:
// a server that hangs before its greeting.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "catalogue/EndpointSettings.h"

class SilentServer {
  public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 8);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(fd_); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    FtpEndpoint Endpoint() const {
        FtpEndpoint endpoint;
        endpoint.host = "127.0.0.1";
        endpoint.port = port_;
        endpoint.user = "tvxupdate";
        endpoint.password = "t3stPa55";
        return endpoint;
    }

  private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};
