#include "sim/EmulatedFlash.h"

void EmulatedFlash::Program(std::vector<std::uint8_t> image) {
    std::lock_guard lock(mutex_);
    contents_ = std::move(image);
    ++programCount_;
}

std::vector<std::uint8_t> EmulatedFlash::Contents() const {
    std::lock_guard lock(mutex_);
    return contents_;
}

int EmulatedFlash::ProgramCount() const {
    std::lock_guard lock(mutex_);
    return programCount_;
}

std::optional<SoftwareIdentity> EmulatedFlash::Identity() const {
    std::lock_guard lock(mutex_);
    if (programCount_ == 0) {
        return std::nullopt;
    }
    const auto header = ParseImageHeader(contents_);
    if (!header) {
        return SoftwareIdentity{};
    }
    return SoftwareIdentity{header->softwareId, header->softwareBuild};
}
