#pragma once
// The socket calls the test servers and proxies use, on Linux.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>

using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;
inline constexpr int kSendFlags = MSG_NOSIGNAL;

inline SocketHandle OpenTcpSocket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}
inline SocketHandle AcceptSocket(SocketHandle listener) {
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}
inline int CloseSocket(SocketHandle socket) {
    return ::close(socket);
}
inline int PollSockets(pollfd* sockets, std::size_t count, int milliseconds) {
    return ::poll(sockets, count, milliseconds);
}
