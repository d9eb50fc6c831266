#pragma once
// One open report channel: the read and write handles, the four events and the reader and writer
// threads. Destroying it stops both threads, waits for them and closes the handles, so no thread
// ever outlives the handle it uses. The stop, send and write members may be called from any thread.
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "link/ReportThreads.h"
#include "platform/HidBus.h"

class Channel {
  public:
    Channel(UpdaterContext& ctx, std::unique_ptr<HidReadHandle> readHandle,
            std::unique_ptr<HidWriteHandle> writeHandle);
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Starts the reader, then the writer. The events already exist.
    void Start();
    void StopReader() { events_.readerStopEvent.Set(); }
    void StopWriter() { events_.writerStopEvent.Set(); }
    void SignalSend() { events_.sendEvent.Set(); }
    // A synchronous write on the write handle; writes never overlap each other.
    bool Write(const HidReport& report);
    // False once the reader has ended (stopped, after 0x80, or after a failed read).
    bool ReaderRunning() const { return readerRunning_.load(); }

  private:
    UpdaterContext& ctx_;
    std::unique_ptr<HidReadHandle> readHandle_;
    std::unique_ptr<HidWriteHandle> writeHandle_;
    std::mutex writeMutex_;
    ChannelEvents events_;
    std::atomic<bool> readerRunning_{false};
    std::thread reader_;
    std::thread writer_;
};
