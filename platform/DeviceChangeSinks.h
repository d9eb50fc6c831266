#pragma once
// The subscribers of one notification port and the delivery to them, for every adapter to share.
// Add hands out the DeviceSubscription; Deliver calls each live sink in subscription order, with
// no lock held during the call, and may run on any number of threads at once. Ending a
// subscription waits for the calls of its sink under way on other threads.
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/DeviceNotifications.h"

class DeviceChangeSinks {
  public:
    DeviceChangeSinks();
    DeviceChangeSinks(const DeviceChangeSinks&) = delete;
    DeviceChangeSinks& operator=(const DeviceChangeSinks&) = delete;

    DeviceSubscription Add(DeviceChangeSink sink);
    void Deliver(const DeviceChange& change) const;
    std::size_t Count() const;

  private:
    struct Entry {
        std::shared_ptr<const DeviceChangeSink> sink;
        std::vector<std::thread::id> callers;  // threads inside the sink now
        bool cancelled = false;
    };
    // Shared with the subscriptions, which may outlive the port.
    struct State {
        std::mutex mutex;
        std::condition_variable callEnded;
        std::map<std::uint64_t, Entry> entries;
        std::uint64_t nextId = 1;
        void Remove(std::uint64_t id);
    };
    std::shared_ptr<State> state_;
};
