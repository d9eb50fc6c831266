#pragma once
// Faults an emulated Telvix interface can be told to commit, shared by its application firmware
// and its bootloader. Tests set them at any time from their own thread; the firmware consults them
// on the device's thread for each report. Counted faults ("N times") are used up as they strike.
//
//     auto faults = telvix.faults;
//     faults->Update([](FaultPlan& f) { f.wrongPageSums = 2; f.silentAfterReport = 40; });
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include "sim/Firmware.h"

struct FaultPlan {
    // Bootloader: the next N completed pages are answered with a wrong sum.
    int wrongPageSums = 0;
    // Bootloader: the next N sector checks fail (0x70 with a value other than 2).
    int failedSectorChecks = 0;
    // Bootloader: the parameter echo has this report byte (2..9) changed.
    std::optional<int> corruptEchoByte;
    // Bootloader: the next probe (the first after the plan was set) is answered "application running" (0x10
    // status 0x21).
    bool applicationStatusToFirstProbe = false;
    // Bootloader: a page ends after this many chunks and a sector after this many pages, instead
    // of 16 (a misbehaving interface).
    int chunksPerPage = 16;
    int pagesPerSector = 16;
    // Either mode: after the K-th report handled (counting from 1 since the plan was set), no
    // report is answered any more.
    std::optional<std::uint64_t> silentAfterReport;
    // Either mode: the K-th report handled is answered, then the device leaves the bus.
    std::optional<std::uint64_t> unplugAfterReport;
    // Either mode: the reply to the command with this code carries this status byte (byte 2;
    // for 0x70 bytes 2..3; for 0x62 also the status reports the interface pushes).
    std::map<std::uint8_t, std::uint8_t> statusOverride;
    // Application: feature programming stalls. The interface reports "still running" once
    // (pushed, or as the answer to 0x62) and then says nothing more about it: it pushes no further
    // status reports and leaves 0x62 requests unanswered.
    bool silentProgramming = false;
};

class FirmwareFaults {
  public:
    // Replaces the plan under the lock and restarts the report count.
    void Update(const std::function<void(FaultPlan&)>& edit);
    FaultPlan Plan() const;

    // Device thread: counts one report and says what to do with it.
    struct Verdict {
        bool answer = true;
        bool unplugAfter = false;
    };
    Verdict CountReport();
    // True once silentAfterReport has struck: the device sends nothing, not even by itself.
    bool Silenced() const;
    // Device thread: uses up one of a counted fault; true when it strikes.
    bool TakeWrongPageSum();
    bool TakeFailedSectorCheck();
    bool TakeFirstProbeFault();
    std::optional<std::uint8_t> StatusFor(std::uint8_t command) const;

  private:
    mutable std::mutex mutex_;
    FaultPlan plan_;
    std::uint64_t handled_ = 0;
};
