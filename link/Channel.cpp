#include "link/Channel.h"

#include "app/UpdaterContext.h"

Channel::Channel(UpdaterContext& ctx, std::unique_ptr<HidReadHandle> readHandle,
                 std::unique_ptr<HidWriteHandle> writeHandle)
    : ctx_(ctx), readHandle_(std::move(readHandle)), writeHandle_(std::move(writeHandle)) {}

Channel::~Channel() {
    StopReader();
    StopWriter();
    if (reader_.joinable()) {
        reader_.join();
    }
    if (writer_.joinable()) {
        writer_.join();
    }
}

void Channel::Start() {
    readerRunning_.store(true);
    reader_ = std::thread([this] {
        ReaderThread(ctx_, *readHandle_, events_);
        readerRunning_.store(false);
    });
    writer_ = std::thread([this] {
        WriterThread(ctx_.outputReport, events_, [this](const HidReport& r) { return Write(r); });
    });
}

bool Channel::Write(const HidReport& report) {
    std::lock_guard lock(writeMutex_);
    return writeHandle_->Write(report);
}
