#pragma once
// Shared steps of the end-to-end tests: the servers, the catalogue entries they use, and the
// checks every install ends with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/ControllerFields.h"
#include "tests/support/HarnessProgram.h"
#include "tests/support/LinkRig.h"

#define REQUIRE_TEST_SERVERS(servers)                                   \
    auto servers = HarnessServers::FromEnvironment();                   \
    if (!servers)                                                       \
    GTEST_SKIP() << "the MariaDB and FTP test servers are not running " \
                    "(scripts/test-servers start DIR; source DIR/env)"

using ProgressSteps = std::vector<std::pair<std::u16string, int>>;

// Starts the program and runs it until the controller is idle with the interface identified.
inline void StartToIdle(HarnessProgram& harness) {
    harness.Start();
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE)) << "state " << harness.State();
}

inline HarnessEntry RequireEntry(const HarnessServers& servers, const std::string& mfgId, int swId,
                                 int build) {
    auto entry = servers.FindEntry(mfgId, swId, build);
    EXPECT_TRUE(entry.has_value()) << mfgId << " " << swId << "/" << build << " is not in the catalogue";
    return entry.value_or(HarnessEntry{});
}

// The steps every route ends with.
inline ProgressSteps WithCommonTail(ProgressSteps head) {
    const ProgressSteps tail = {{u"Waiting for device initialization", 39},
                                {u"Updating database", 52},
                                {u"Updating device memory", 65},
                                {u"Verifying device memory", 78},
                                {u"Verifiyng data integrity", 91},
                                {u"Software has been successfully installed", 100}};
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The flash steps of a HID run: "Downloading software" then its percentages, as shown.
inline ProgressSteps WithoutFlashPercentages(const ProgressSteps& steps) {
    ProgressSteps kept;
    for (const auto& step : steps) {
        if (step.first.rfind(u"Downloading software ", 0) != 0)
            kept.push_back(step);
    }
    return kept;
}

// What a finished install leaves: the interface runs the entry's image, carries its vehicle, and
// the catalogue has recorded it.
// expectedTotalUpdates -1 means the interface's count before the install plus one.
void ExpectInstalled(HarnessProgram& harness, const HarnessEntry& entry, bool hid,
                     int expectedTotalUpdates = -1);
// An install that ended without success, with the progress dialog finished as aborted.
void ExpectAborted(HarnessProgram& harness, const std::vector<std::u16string>& errorTexts);
