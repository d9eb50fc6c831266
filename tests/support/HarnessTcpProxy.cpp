#include "tests/support/HarnessTcpProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace {
constexpr int kPollMs = 20;

int ConnectTo(const std::string& host, std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Moves what is readable on from to to; false when from has ended or to failed.
bool Forward(int from, int to) {
    std::array<char, 16384> buffer;
    const ssize_t n = recv(from, buffer.data(), buffer.size(), 0);
    if (n <= 0)
        return false;
    ssize_t sent = 0;
    while (sent < n) {
        const ssize_t m = send(to, buffer.data() + sent, static_cast<std::size_t>(n - sent), MSG_NOSIGNAL);
        if (m <= 0)
            return false;
        sent += m;
    }
    return true;
}
}  // namespace

HarnessTcpProxy::HarnessTcpProxy(std::string targetHost, std::uint16_t targetPort)
    : targetHost_(std::move(targetHost)), targetPort_(targetPort) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 64);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

HarnessTcpProxy::~HarnessTcpProxy() {
    stopping_ = true;
    acceptor_.join();
    close(listener_);
    std::lock_guard lock(mutex_);
    for (std::thread& pump : pumps_)
        pump.join();
}

void HarnessTcpProxy::Cut() {
    cut_ = true;
    ++generation_;
}

void HarnessTcpProxy::AcceptLoop() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const int server = cut_ ? -1 : ConnectTo(targetHost_, targetPort_);
        if (server < 0) {
            close(client);
            continue;
        }
        std::lock_guard lock(mutex_);
        pumps_.emplace_back([this, client, server] { Pump(client, server); });
    }
}

void HarnessTcpProxy::Pump(int client, int server) {
    const std::uint64_t generation = generation_;
    std::array<pollfd, 2> ends{pollfd{client, POLLIN, 0}, pollfd{server, POLLIN, 0}};
    while (!stopping_ && generation_ == generation) {
        if (poll(ends.data(), ends.size(), kPollMs) <= 0)
            continue;
        if ((ends[0].revents & (POLLIN | POLLHUP | POLLERR)) && !Forward(client, server))
            break;
        if ((ends[1].revents & (POLLIN | POLLHUP | POLLERR)) && !Forward(server, client))
            break;
    }
    close(client);
    close(server);
}
