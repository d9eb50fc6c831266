#pragma once
// Holds the thread of the FTP worker. Each run ends by itself; the holder only makes sure that a
// finished thread is reaped before the next start and that the context outlives a running one.
// Used on the window thread only.
#include <functional>
#include <system_error>
#include <thread>
#include <utility>

class FtpWorkerThread {
  public:
    FtpWorkerThread() = default;
    FtpWorkerThread(const FtpWorkerThread&) = delete;
    FtpWorkerThread& operator=(const FtpWorkerThread&) = delete;
    ~FtpWorkerThread() { Reap(); }

    // Starts body on a new thread after waiting for the previous one, if any, to end. False when
    // the system cannot create a thread; body has not run then.
    bool Start(std::function<void()> body) {
        Reap();
        try {
            thread_ = std::thread(std::move(body));
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    // Waits for the current thread to end (at once when it has stored ftpDone).
    void Reap() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

  private:
    std::thread thread_;
};
