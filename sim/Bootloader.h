#pragma once
// The bootloader of an emulated Telvix interface: the interface side of the flashing protocol.
// It checks every command against its own count of sectors, pages and chunks, sums each page,
// stages the sectors that check good and programs the flash once the host finishes (0x08); the
// close (0x09) restarts it into the application firmware, which then runs the written image.
// Commands out of order are counted as protocol violations (tests expect none) and answered so
// that the host's checks fail. Faults come from the shared FirmwareFaults.
//
// A parameter command (0x02) whose spare byte (report byte 9) is not 0 is malformed: the
// bootloader refuses it as it refuses a report with a wrong id. It sends no echo (0x20) and no
// other reply, keeps the session as it was (an earlier good parameter command still counts, a new
// one is needed otherwise) and counts the report in EmulatedInterface::RefusedReports. A host
// that waits for the echo gets nothing and must give up by its own time limit.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/EmulatedFlash.h"
#include "sim/Faults.h"
#include "sim/Firmware.h"

class Bootloader final : public Firmware {
  public:
    Bootloader(std::shared_ptr<EmulatedFlash> flash, std::shared_ptr<FirmwareFaults> faults);

    void OnStart(FirmwareHost& host) override;
    void OnOutputReport(const HidReport& report, FirmwareHost& host) override;

    // Commands that broke the protocol since the interface was made.
    int ProtocolViolations() const { return violations_.load(); }

  private:
    void ResetSession();
    void OnProbe(FirmwareHost& host);
    void OnParameters(const HidReport& report, FirmwareHost& host);
    void OnBeginSector(FirmwareHost& host);
    void OnChunk(const HidReport& report, FirmwareHost& host);
    void OnCommitPage(FirmwareHost& host);
    void OnCheckSector(const HidReport& report, FirmwareHost& host);
    void OnFinish(FirmwareHost& host);
    void Reply(FirmwareHost& host, HidReport reply, std::uint8_t command);
    void Violation() { violations_.fetch_add(1); }

    std::shared_ptr<EmulatedFlash> flash_;
    std::shared_ptr<FirmwareFaults> faults_;
    std::atomic<int> violations_{0};

    // Session state, device thread only; cleared on every start.
    bool configured_ = false;
    std::uint32_t sectorCount_ = 0;
    std::uint32_t sector_ = 0;  // sector being written
    bool sectorOpen_ = false;
    std::uint32_t page_ = 0;            // page being received
    std::uint32_t chunksReceived_ = 0;  // of the current page
    bool pageConfirmed_ = false;        // the page sum went out correct
    std::uint32_t pagesCommitted_ = 0;  // of the current sector
    std::uint32_t pageSum_ = 0;
    std::vector<std::uint8_t> pageBuffer_;
    std::vector<std::uint8_t> sectorBuffer_;
    std::vector<std::uint8_t> staged_;  // sectorCount x 4096, the sectors checked good so far
};
