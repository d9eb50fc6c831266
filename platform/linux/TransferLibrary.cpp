#include "retrieval/TransferLibrary.h"

#include <curl/curl.h>

#include <atomic>
#include <mutex>

namespace {

std::mutex startMutex;
std::atomic<bool> running{false};

}  // namespace

bool InitialiseTransfers() {
    std::lock_guard lock(startMutex);
    if (!running.load(std::memory_order_relaxed)) {
        running.store(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK, std::memory_order_release);
    }
    return running.load(std::memory_order_relaxed);
}

void FinishTransfers() {
    std::lock_guard lock(startMutex);
    if (running.load(std::memory_order_relaxed)) {
        running.store(false, std::memory_order_release);
        curl_global_cleanup();
    }
}

bool TransfersInitialised() {
    return running.load(std::memory_order_acquire);
}
