#include "sim/Faults.h"

void FirmwareFaults::Update(const std::function<void(FaultPlan&)>& edit) {
    std::lock_guard lock(mutex_);
    edit(plan_);
    handled_ = 0;
}

FaultPlan FirmwareFaults::Plan() const {
    std::lock_guard lock(mutex_);
    return plan_;
}

FirmwareFaults::Verdict FirmwareFaults::CountReport() {
    std::lock_guard lock(mutex_);
    ++handled_;
    Verdict verdict;
    if (plan_.silentAfterReport && handled_ > *plan_.silentAfterReport) {
        verdict.answer = false;
    }
    if (plan_.unplugAfterReport && handled_ == *plan_.unplugAfterReport) {
        verdict.unplugAfter = true;
    }
    return verdict;
}

bool FirmwareFaults::Silenced() const {
    std::lock_guard lock(mutex_);
    return plan_.silentAfterReport && handled_ >= *plan_.silentAfterReport;
}

namespace {
bool TakeOne(int& count) {
    if (count <= 0) {
        return false;
    }
    --count;
    return true;
}
}  // namespace

bool FirmwareFaults::TakeWrongPageSum() {
    std::lock_guard lock(mutex_);
    return TakeOne(plan_.wrongPageSums);
}

bool FirmwareFaults::TakeFailedSectorCheck() {
    std::lock_guard lock(mutex_);
    return TakeOne(plan_.failedSectorChecks);
}

bool FirmwareFaults::TakeFirstProbeFault() {
    std::lock_guard lock(mutex_);
    const bool strike = plan_.applicationStatusToFirstProbe;
    plan_.applicationStatusToFirstProbe = false;
    return strike;
}

std::optional<std::uint8_t> FirmwareFaults::StatusFor(std::uint8_t command) const {
    std::lock_guard lock(mutex_);
    const auto it = plan_.statusOverride.find(command);
    if (it == plan_.statusOverride.end()) {
        return std::nullopt;
    }
    return it->second;
}
