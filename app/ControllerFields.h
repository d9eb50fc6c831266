#pragma once
// Controller fields of the shared context: the main state and the install sequence's fields.
// The controller, the window's command handlers and the device-change handling all run on the
// window thread, so these are plain fields.
#include <cstdint>
#include <string>

// The numbered states of the main controller; values not listed are never stored.
enum ControllerState : std::int32_t {
    MS_START = 0,
    MS_NO_INTERNET = 1,
    MS_PAUSE_1 = 2,
    MS_CHECK_ODBC = 3,
    MS_CONNECT = 4,
    MS_WAIT_CONNECT = 5,
    MS_READ_CONFIG = 6,
    MS_WAIT_CONFIG = 7,
    MS_CONFIG_FAILED = 8,
    MS_LOOKUP_SOFTWARE = 9,
    MS_WAIT_LOOKUP = 10,
    MS_LOAD_UPGRADE = 11,
    MS_WAIT_UPGRADE = 12,
    MS_START_UPGRADE = 13,
    MS_NO_UPGRADE = 14,
    MS_IDLE = 19,
    MS_CHECK_AVAILABILITY = 24,
    MS_WAIT_AVAILABILITY = 25,
    MS_AVAILABLE = 26,
    MS_NOT_AVAILABLE = 27,
    MS_REBOOT = 28,
    MS_WAIT_LOADER = 29,
    MS_VOLUME_READY = 30,
    MS_START_ENGINE = 31,
    MS_DOWNLOAD_FILE = 32,
    MS_START_FLASH = 33,
    MS_WAIT_DOWNLOAD = 34,
    MS_WAIT_FLASH = 35,
    MS_WAIT_INIT = 36,
    MS_DOWNLOAD_FAILED = 37,
    MS_WAIT_APPLICATION = 38,
    MS_UPDATE_DATABASE = 39,
    MS_START_RECORD = 40,
    MS_WAIT_RECORD = 41,
    MS_UPDATE_MEMORY = 42,
    MS_RECORD_FAILED = 43,
    MS_WRITE_CONFIG = 44,
    MS_READ_BEFORE_WRITE = 45,
    MS_WAIT_READ_BEFORE_WRITE = 46,
    MS_WAIT_WRITE_CONFIG = 47,
    MS_VERIFY_MEMORY = 48,
    MS_WRITE_FAILED = 49,
    MS_READ_VERIFY = 50,
    MS_WAIT_READ_VERIFY = 51,
    MS_MEMORY_VERIFIED = 52,
    MS_VERIFY_FAILED = 53,
    MS_CHECK_INTEGRITY = 54,
    MS_WAIT_INTEGRITY = 55,
    MS_INSTALLED = 56,
    MS_UPDATE_FAILED = 57,
    MS_WAIT_CONFIG_WRITE = 60,
    MS_CONFIG_WRITTEN = 61,
    MS_CONFIG_WRITE_FAILED = 62,
    MS_WAIT_FEATURE_READ = 64,
    MS_WAIT_FEATURE_WRITE = 65,
    MS_POLL_PROGRAMMING = 66,
    MS_FEATURE_WRITE_FAILED = 67,
    MS_WAIT_PROGRAMMING = 68,
    MS_DETAILS_FAILED = 71,
    MS_WAIT_OSD_WRITE = 72,
    MS_OSD_WRITTEN = 73,
    MS_OSD_WRITE_FAILED = 74,
    MS_PAUSE_2 = 75,
};

constexpr int MAIN_TIMER_ID = 4129;
constexpr int MAIN_TIMER_PERIOD_MS = 100;
constexpr int REPLY_TIMER_ID = 4145;
constexpr int REPLY_TIMER_PERIOD_MS = 300;

// True while an install runs: from the Install command, or the accepted upgrade (states 11 to 13),
// until the sequence reaches idle or parks in one of its failure states. State 53 passes on to 57
// and state 37 on to idle, so both still count as running.
constexpr bool InstallRunning(std::int32_t state) {
    switch (state) {
        case MS_LOAD_UPGRADE:
        case MS_WAIT_UPGRADE:
        case MS_START_UPGRADE:
            return true;
        case MS_NOT_AVAILABLE:
        case MS_RECORD_FAILED:
        case MS_WRITE_FAILED:
        case MS_UPDATE_FAILED:
        case MS_DETAILS_FAILED:
            return false;
        default:
            return state >= MS_CHECK_AVAILABILITY && state <= MS_UPDATE_FAILED;
    }
}

struct ControllerFields {
    std::int32_t mainState = MS_START;
    bool messageShown = false;        // the current settings or OSD write's message is out
    std::u16string workingDirectory;  // current directory at the first tick, 255 characters at most
    std::int32_t hidInstall = 0;      // 1: the install goes through the HID bootloader
    std::int32_t shownPercent = 0;    // last flashProgress shown; never reset
    bool imagePrepared = false;       // a fetched, verified image waits in the flashing engine
    bool identityKnown = false;       // the connected interface's configuration has been read
    bool identityReadIssued = false;  // the install's record waits for that read

    // Waiting for the outcome of feature programming: ticks since the last status request, and
    // the status requests repeated since the first.
    std::int32_t programmingTicks = 0;
    std::int32_t programmingReasks = 0;
    // Ticks spent waiting for the interface to come back with its new software.
    std::int32_t restartWaitTicks = 0;

    bool installRunning() const { return InstallRunning(mainState); }
};
