#include "tests/support/HarnessTcpProxy.h"

#include <array>
#include <type_traits>

#include <SocketApi.h>  // this system's sockets (tests/support/<system>)

namespace {
constexpr int kPollMs = 20;

SocketHandle ConnectTo(const std::string& host, std::uint16_t port) {
    const SocketHandle fd = OpenTcpSocket();
    if (fd == kNoSocket)
        return kNoSocket;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        CloseSocket(fd);
        return kNoSocket;
    }
    return fd;
}

// Moves what is readable on from to to; false when from has ended or to failed.
bool Forward(SocketHandle from, SocketHandle to) {
    std::array<char, 16384> buffer;
    const auto n = recv(from, buffer.data(), static_cast<int>(buffer.size()), 0);
    if (n <= 0)
        return false;
    std::remove_const_t<decltype(n)> sent = 0;
    while (sent < n) {
        const auto m = send(to, buffer.data() + sent, static_cast<int>(n - sent), kSendFlags);
        if (m <= 0)
            return false;
        sent += m;
    }
    return true;
}
}  // namespace

HarnessTcpProxy::HarnessTcpProxy(std::string targetHost, std::uint16_t targetPort)
    : targetHost_(std::move(targetHost)), targetPort_(targetPort) {
    const SocketHandle listener = OpenTcpSocket();
    listener_ = static_cast<std::intptr_t>(listener);
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 64);
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

HarnessTcpProxy::~HarnessTcpProxy() {
    stopping_ = true;
    acceptor_.join();
    CloseSocket(static_cast<SocketHandle>(listener_));
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
        pollfd waiting{static_cast<SocketHandle>(listener_), POLLIN, 0};
        if (PollSockets(&waiting, 1, kPollMs) <= 0)
            continue;
        const SocketHandle client = AcceptSocket(static_cast<SocketHandle>(listener_));
        if (client == kNoSocket)
            continue;
        const SocketHandle server = cut_ ? kNoSocket : ConnectTo(targetHost_, targetPort_);
        if (server == kNoSocket) {
            CloseSocket(client);
            continue;
        }
        std::lock_guard lock(mutex_);
        pumps_.emplace_back([this, client, server] {
            Pump(static_cast<std::intptr_t>(client), static_cast<std::intptr_t>(server));
        });
    }
}

void HarnessTcpProxy::Pump(std::intptr_t clientSocket, std::intptr_t serverSocket) {
    const auto client = static_cast<SocketHandle>(clientSocket);
    const auto server = static_cast<SocketHandle>(serverSocket);
    const std::uint64_t generation = generation_;
    std::array<pollfd, 2> ends{pollfd{client, POLLIN, 0}, pollfd{server, POLLIN, 0}};
    while (!stopping_ && generation_ == generation) {
        if (PollSockets(ends.data(), ends.size(), kPollMs) <= 0)
            continue;
        if ((ends[0].revents & (POLLIN | POLLHUP | POLLERR)) && !Forward(client, server))
            break;
        if ((ends[1].revents & (POLLIN | POLLHUP | POLLERR)) && !Forward(server, client))
            break;
    }
    CloseSocket(client);
    CloseSocket(server);
}
