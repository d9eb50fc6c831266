#include "platform/DeviceChangeSinks.h"

#include <algorithm>

DeviceChangeSinks::DeviceChangeSinks() : state_(std::make_shared<State>()) {}

DeviceSubscription DeviceChangeSinks::Add(DeviceChangeSink sink) {
    std::lock_guard lock(state_->mutex);
    const std::uint64_t id = state_->nextId++;
    state_->entries[id].sink = std::make_shared<const DeviceChangeSink>(std::move(sink));
    return DeviceSubscription([weak = std::weak_ptr<State>(state_), id] {
        if (const auto state = weak.lock()) {
            state->Remove(id);
        }
    });
}

void DeviceChangeSinks::State::Remove(std::uint64_t id) {
    std::unique_lock lock(mutex);
    const auto found = entries.find(id);
    if (found == entries.end()) {
        return;
    }
    found->second.cancelled = true;
    const auto self = std::this_thread::get_id();
    // Calls on other threads are waited for; a sink that ends its own subscription is not, its
    // call is this very thread. Whoever sees the last call end erases the entry.
    callEnded.wait(lock, [&] {
        const auto entry = entries.find(id);
        return entry == entries.end() ||
               std::all_of(entry->second.callers.begin(), entry->second.callers.end(),
                           [&](std::thread::id caller) { return caller == self; });
    });
    const auto entry = entries.find(id);
    if (entry != entries.end() && entry->second.callers.empty()) {
        entries.erase(entry);
    }
}

void DeviceChangeSinks::Deliver(const DeviceChange& change) const {
    std::vector<std::uint64_t> ids;
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& [id, entry] : state_->entries) {
            ids.push_back(id);
        }
    }
    const auto self = std::this_thread::get_id();
    for (const std::uint64_t id : ids) {
        std::shared_ptr<const DeviceChangeSink> sink;
        {
            std::lock_guard lock(state_->mutex);
            const auto found = state_->entries.find(id);
            if (found == state_->entries.end() || found->second.cancelled) {
                continue;
            }
            found->second.callers.push_back(self);
            sink = found->second.sink;
        }
        (*sink)(change);
        {
            std::lock_guard lock(state_->mutex);
            const auto found = state_->entries.find(id);
            auto& callers = found->second.callers;
            callers.erase(std::find(callers.begin(), callers.end(), self));
            if (found->second.cancelled && callers.empty()) {
                state_->entries.erase(found);
            }
        }
        state_->callEnded.notify_all();
    }
}

std::size_t DeviceChangeSinks::Count() const {
    std::lock_guard lock(state_->mutex);
    return static_cast<std::size_t>(std::count_if(state_->entries.begin(), state_->entries.end(),
                                                  [](const auto& entry) { return !entry.second.cancelled; }));
}
