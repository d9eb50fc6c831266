#pragma once
// A loopback TCP forwarder that stands between the program and one of the test servers, so a
// test can take the network away in the middle of a workflow: while cut, new connections are
// accepted and closed at once, and the open ones are dropped. Runs its own threads.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class HarnessTcpProxy {
  public:
    // Forwards 127.0.0.1:Port() to targetHost:targetPort.
    HarnessTcpProxy(std::string targetHost, std::uint16_t targetPort);
    ~HarnessTcpProxy();
    HarnessTcpProxy(const HarnessTcpProxy&) = delete;
    HarnessTcpProxy& operator=(const HarnessTcpProxy&) = delete;

    std::uint16_t Port() const { return port_; }
    void Cut();
    void Restore() { cut_ = false; }
    bool IsCut() const { return cut_; }

  private:
    void AcceptLoop();
    // Sockets are kept as integers here so that this header needs no system socket header.
    void Pump(std::intptr_t client, std::intptr_t server);

    std::string targetHost_;
    std::uint16_t targetPort_;
    std::intptr_t listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> cut_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> generation_{0};  // bumped by Cut: pumps of older connections end
    std::mutex mutex_;
    std::vector<std::thread> pumps_;
    std::thread acceptor_;
};
