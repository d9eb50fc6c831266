#include "sim/DeviceCore.h"

void ReadQueue::Push(const HidReport& report) {
    std::lock_guard lock(mutex);
    if (dead) {
        return;
    }
    if (reports.size() >= kCapacity) {
        reports.pop_front();  // a real driver drops the oldest report when its buffer is full
    }
    reports.push_back(report);
    ready.Set();
}

void ReadQueue::Kill() {
    std::lock_guard lock(mutex);
    dead = true;
    ready.Set();
}

void DeviceCore::DeliverLocked(const HidReport& report, std::uint64_t ofGeneration) {
    if (ofGeneration != generation || !PresentsHid()) {
        return;
    }
    sent.push_back(report);
    for (auto it = readers.begin(); it != readers.end();) {
        if (auto queue = it->lock()) {
            queue->Push(report);
            ++it;
        } else {
            it = readers.erase(it);
        }
    }
}

void DeviceCore::KillReadersLocked() {
    for (auto& weak : readers) {
        if (auto queue = weak.lock()) {
            queue->Kill();
        }
    }
    readers.clear();
}
