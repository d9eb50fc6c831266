#include "retrieval/TransferLibrary.h"

#include <atomic>

// WinINet needs no program-wide start: each session opens its own handle. The start and the
// release are still kept, so a transfer behaves the same on both systems when main forgot them.
namespace {
std::atomic<bool> running{false};
}  // namespace

bool InitialiseTransfers() {
    running.store(true, std::memory_order_release);
    return true;
}

void FinishTransfers() {
    running.store(false, std::memory_order_release);
}

bool TransfersInitialised() {
    return running.load(std::memory_order_acquire);
}
