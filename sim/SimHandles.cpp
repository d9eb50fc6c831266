#include "sim/SimHandles.h"

HidReadResult SimReadHandle::Read(HidReportBytes& report, ManualResetEvent& completion,
                                  const ManualResetEvent& stop) {
    for (;;) {
        if (stop.IsSet()) {
            return HidReadResult::Stopped;
        }
        {
            std::lock_guard lock(queue_->mutex);
            if (!queue_->reports.empty()) {
                report = queue_->reports.front();
                queue_->reports.pop_front();
                if (queue_->reports.empty() && !queue_->dead) {
                    queue_->ready.Reset();
                }
                completion.Set();
                return HidReadResult::Report;
            }
            if (queue_->dead) {
                return HidReadResult::Failed;
            }
            queue_->ready.Reset();
        }
        if (ManualResetEvent::WaitAny({&stop, &queue_->ready}) == 0) {
            return HidReadResult::Stopped;
        }
    }
}

bool SimWriteHandle::Write(const HidReportBytes& report) {
    std::lock_guard lock(core_->mutex);
    if (core_->shutdown || core_->generation != generation_ || !core_->PresentsHid()) {
        return false;
    }
    core_->received.push_back(report);
    core_->inbox.push_back(InboxItem{report, generation_, DeviceEvent::Report, std::chrono::steady_clock::now()});
    core_->changed.notify_all();
    return true;
}
