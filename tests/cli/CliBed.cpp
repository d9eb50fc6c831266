#include "tests/cli/CliBed.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <sstream>
#include <thread>

#include "catalogue/CatalogueDb.h"
#include "catalogue/CatalogueLookups.h"
#include "catalogue/InstallJournal.h"
#include "config/ConfigCodecs.h"
#include "platform/Text.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UniqueMcuId.h"

CliBed::CliBed(const HarnessServers& s, CliBedOptions o)
    : servers(s), options(std::move(o)), box(bus.PlugInterface(options.modelCode, DeviceMode::Unplugged)) {
    busInUse_ = &bus.Hid();
    const McuId mcuId = UniqueMcuId(0xC9);  // marks the rows of these tests
    mcuSerial = ToUtf8(FormatMcuSerial(mcuId));
    ApplicationOptions firmware = DefaultApplicationOptions(options.modelCode);
    firmware.mcuId = mcuId;
    firmware.hasHidBootloader =
        HasHidBootloader(FromUtf8(options.modelCode), CatalogueDb(servers.catalogueConnection, 15));
    if (options.carries) {
        if (auto entry =
                servers.FindEntry(options.modelCode, options.carries->first, options.carries->second)) {
            firmware.softwareId = static_cast<std::uint16_t>(entry->swId);
            firmware.softwareBuild = static_cast<std::uint8_t>(entry->swBuild);
            firmware.config.setVehicle(ToVehicleText(FromUtf8(entry->make)),
                                       ToVehicleText(FromUtf8(entry->model)));
        }
    }
    firmware.config.setTotalUpdates(4);
    telvix = InstallTelvixFirmware(box, firmware);
    box.SetClock(clock);
    volumeWatcher = std::make_unique<UpdateVolumeWatcher>(box, telvix.flash);
    HarnessDevice device;
    device.mfgId = options.modelCode;
    device.mcuSerial = mcuSerial;
    device.swId = firmware.softwareId;
    device.swBuild = firmware.softwareBuild;
    device.make = firmware.config.vehicleMake();
    device.model = firmware.config.vehicleModel();
    device.labelSerial = options.labelSerial;
    device.totalUpdates = 4;
    device.updatedBy = 1;
    device.updateDate = "01/02/2025";
    servers.InsertDevice(device);
    box.Plug(DeviceMode::Application);
}

CliBed::~CliBed() {
    servers.DeleteDevice(mcuSerial);
}

CliMachine CliBed::Machine() {
    EndpointSettings endpoints = DefaultEndpointSettings();
    endpoints.catalogueConnection = servers.catalogueConnection;
    endpoints.catalogueTimeoutSeconds = 5;
    endpoints.ftp = servers.ftp;
    const CliMachine machine{*busInUse_,
                             bus.Volumes(),
                             bus.Notifications(),
                             clock,
                             system,
                             endpoints,
                             [this] { volumeWatcher->Poll(); },
                             [this] {
                                 // Protocol time passes with the ticks; real time only lets the
                                 // emulator, the workers and the servers run.
                                 clock.Advance(std::chrono::milliseconds(100));
                                 PauseBriefly();
                             },
                             DefaultInstallJournalFile()};
    return machine;
}

CliRun CliBed::Run(const std::vector<std::string>& args) {
    const CliMachine machine = Machine();
    std::ostringstream out, err;
    std::deque<std::string> answers(options.typedAnswers.begin(), options.typedAnswers.end());
    const CliEnvironment environment{out,
                                     err,
                                     options.terminal,
                                     options.terminal,
                                     [&answers]() -> std::optional<std::string> {
                                         if (answers.empty())
                                             return std::nullopt;
                                         std::string answer = answers.front();
                                         answers.pop_front();
                                         return answer;
                                     },
                                     &machine,
                                     nullptr,
                                     {},
                                     nullptr};
    CliRun run;
    run.exitCode = RunCli(args, environment);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string TextField(const std::string& out, const std::string& key) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key + ":", 0) == 0) {
            const auto value = line.find_first_not_of(' ', key.size() + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return {};
}
