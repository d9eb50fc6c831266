#include "sim/Bootloader.h"

#include <algorithm>

namespace {
constexpr std::uint32_t kChunk = 16;
constexpr std::uint32_t kPage = 256;
constexpr std::uint32_t kSector = 4096;

HidReport ReplyWithCode(std::uint8_t code) {
    HidReport reply{};
    reply[1] = code;
    return reply;
}
}  // namespace

Bootloader::Bootloader(std::shared_ptr<EmulatedFlash> flash, std::shared_ptr<FirmwareFaults> faults)
    : flash_(std::move(flash)), faults_(std::move(faults)) {
    ResetSession();
}

void Bootloader::OnStart(FirmwareHost&) {
    ResetSession();
}

void Bootloader::ResetSession() {
    configured_ = false;
    sectorCount_ = sector_ = page_ = chunksReceived_ = pagesCommitted_ = pageSum_ = 0;
    sectorOpen_ = pageConfirmed_ = false;
    pageBuffer_.assign(kPage, 0);
    sectorBuffer_.assign(kSector, 0);
    staged_.clear();
}

void Bootloader::Reply(FirmwareHost& host, HidReport reply, std::uint8_t command) {
    if (const auto status = faults_->StatusFor(command)) {
        reply[2] = *status;
        if (reply[1] == 0x70) {
            reply[3] = 0;
        }
    }
    host.SendInput(reply);
}

void Bootloader::OnOutputReport(const HidReport& report, FirmwareHost& host) {
    const FirmwareFaults::Verdict verdict = faults_->CountReport();
    if (!verdict.answer) {
        return;
    }
    switch (report[1]) {
        case 0x01:
            OnProbe(host);
            break;
        case 0x02:
            OnParameters(report, host);
            break;
        case 0x03:
            OnBeginSector(host);
            break;
        case 0x04:
            OnChunk(report, host);
            break;
        case 0x05:
            OnCommitPage(host);
            break;
        case 0x07:
            OnCheckSector(report, host);
            break;
        case 0x08:
            OnFinish(host);
            break;
        case 0x09:
            host.RequestRestart(DeviceMode::Application);
            break;
        case 0x80:
            Reply(host, ReplyWithCode(0x80), 0x80);
            host.RequestRestart(DeviceMode::Bootloader);
            break;
        default:
            Violation();
            break;
    }
    if (verdict.unplugAfter) {
        host.RequestRestart(DeviceMode::Unplugged);
    }
}

void Bootloader::OnProbe(FirmwareHost& host) {
    HidReport reply = ReplyWithCode(0x10);
    reply[2] = faults_->TakeFirstProbeFault() ? 0x21 : 0x00;
    Reply(host, reply, 0x01);
}

void Bootloader::OnParameters(const HidReport& report, FirmwareHost& host) {
    if (report[9] != 0) {
        host.RefuseReport();
        return;
    }
    const std::uint32_t pageSize = report[2] | (report[3] << 8);
    const std::uint32_t pagesPerSector = report[4] | (report[5] << 8);
    const std::uint32_t sectors = report[8];
    configured_ = pageSize == kPage && pagesPerSector == kSector / kPage && report[6] == 0x10 &&
                  report[7] == 0x02 && sectors >= 1;
    if (!configured_) {
        Violation();
    }
    sectorCount_ = configured_ ? sectors : 0;
    sector_ = 0;
    sectorOpen_ = false;
    staged_.assign(std::size_t{sectorCount_} * kSector, 0);

    HidReport echo = ReplyWithCode(0x20);
    std::copy(report.begin() + 2, report.begin() + 10, echo.begin() + 2);
    if (const auto byte = faults_->Plan().corruptEchoByte; byte && *byte >= 2 && *byte <= 9) {
        echo[static_cast<std::size_t>(*byte)] ^= 0x5A;
    }
    Reply(host, echo, 0x02);
}

void Bootloader::OnBeginSector(FirmwareHost& host) {
    HidReport reply = ReplyWithCode(0x30);
    if (configured_ && sector_ < sectorCount_) {
        sectorOpen_ = true;
        page_ = chunksReceived_ = pagesCommitted_ = pageSum_ = 0;
        pageConfirmed_ = false;
        std::fill(sectorBuffer_.begin(), sectorBuffer_.end(), 0);
        std::fill(pageBuffer_.begin(), pageBuffer_.end(), 0);
    } else {
        Violation();
        reply[2] = 1;
    }
    Reply(host, reply, 0x03);
}

void Bootloader::OnChunk(const HidReport& report, FirmwareHost& host) {
    const FaultPlan plan = faults_->Plan();
    const std::uint32_t page = report[2] | (report[3] << 8);
    const std::uint32_t chunk = report[4] | (report[5] << 8);
    HidReport reply = ReplyWithCode(0x40);
    if (chunk == 0) {  // a page starts (again): forget what was received of it
        chunksReceived_ = 0;
        pageSum_ = 0;
        pageConfirmed_ = false;
        std::fill(pageBuffer_.begin(), pageBuffer_.end(), 0);
    }
    const bool inOrder = sectorOpen_ && page == page_ && chunk == chunksReceived_ && chunk < kPage / kChunk;
    if (!inOrder) {
        // Answer as a complete page with an impossible sum, so the host sends the page again.
        Violation();
        reply[8] = reply[9] = reply[10] = reply[11] = 0xFF;
        Reply(host, reply, 0x04);
        return;
    }
    for (std::uint32_t i = 0; i < kChunk; ++i) {
        pageBuffer_[chunk * kChunk + i] = report[6 + i];
        pageSum_ += report[6 + i];
    }
    ++chunksReceived_;
    const std::uint32_t chunksPerPage = static_cast<std::uint32_t>(std::max(plan.chunksPerPage, 1));
    if (chunksReceived_ < chunksPerPage) {
        const std::uint32_t remaining = chunksPerPage - chunksReceived_;
        reply[6] = static_cast<std::uint8_t>(remaining);
        reply[7] = static_cast<std::uint8_t>(remaining >> 8);
        Reply(host, reply, 0x04);
        return;
    }
    std::uint32_t sum = pageSum_;
    if (faults_->TakeWrongPageSum()) {
        sum += 1;
    } else {
        pageConfirmed_ = true;
    }
    for (int i = 0; i < 4; ++i) {
        reply[8 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
    Reply(host, reply, 0x04);
}

void Bootloader::OnCommitPage(FirmwareHost& host) {
    const FaultPlan plan = faults_->Plan();
    HidReport reply = ReplyWithCode(0x50);
    if (!sectorOpen_ || !pageConfirmed_ || page_ >= kSector / kPage) {
        Violation();
    } else {
        std::copy(pageBuffer_.begin(), pageBuffer_.end(), sectorBuffer_.begin() + page_ * kPage);
        ++pagesCommitted_;
        ++page_;
    }
    chunksReceived_ = 0;
    pageSum_ = 0;
    pageConfirmed_ = false;
    std::fill(pageBuffer_.begin(), pageBuffer_.end(), 0);
    const std::uint32_t pagesPerSector = static_cast<std::uint32_t>(std::max(plan.pagesPerSector, 1));
    reply[2] = pagesCommitted_ < pagesPerSector ? 1 : 0;
    Reply(host, reply, 0x05);
}

void Bootloader::OnCheckSector(const HidReport& report, FirmwareHost& host) {
    HidReport reply = ReplyWithCode(0x70);
    const bool sectorKnown = sectorOpen_ && report[2] == (sector_ & 0xFF) && pagesCommitted_ > 0;
    if (!sectorKnown) {
        Violation();
        reply[2] = 1;
    } else if (faults_->StatusFor(0x07) || faults_->TakeFailedSectorCheck()) {
        reply[2] = 1;
    } else {
        std::copy(sectorBuffer_.begin(), sectorBuffer_.end(), staged_.begin() + sector_ * kSector);
        ++sector_;
        sectorOpen_ = false;
        reply[2] = 2;
    }
    Reply(host, reply, 0x07);
}

void Bootloader::OnFinish(FirmwareHost& host) {
    if (!configured_ || sector_ != sectorCount_) {
        Violation();
        return;
    }
    flash_->Program(staged_);
    Reply(host, ReplyWithCode(0x80), 0x08);
}
