#pragma once
// The socket calls the test servers and proxies use, on Windows (Winsock, started once).
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstddef>

using SocketHandle = SOCKET;
inline const SocketHandle kNoSocket = INVALID_SOCKET;
inline constexpr int kSendFlags = 0;

struct WinsockStartup {
    WinsockStartup() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};
inline WinsockStartup winsockStartup;

inline SocketHandle OpenTcpSocket() {
    return ::socket(AF_INET, SOCK_STREAM, 0);
}
inline SocketHandle AcceptSocket(SocketHandle listener) {
    return ::accept(listener, nullptr, nullptr);
}
inline int CloseSocket(SocketHandle socket) {
    return ::closesocket(socket);
}
inline int PollSockets(pollfd* sockets, std::size_t count, int milliseconds) {
    return ::WSAPoll(sockets, static_cast<ULONG>(count), milliseconds);
}
