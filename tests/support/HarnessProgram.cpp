#include "tests/support/HarnessProgram.h"

#include <unistd.h>
#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/UpdaterContext.h"
#include "catalogue/CatalogueLookups.h"
#include "config/ConfigCodecs.h"
#include "platform/Text.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UniqueMcuId.h"

namespace {

ApplicationOptions FirmwareFor(const HarnessServers& servers, const HarnessOptions& options,
                               const McuId& mcuId) {
    ApplicationOptions firmware = DefaultApplicationOptions(options.modelCode);
    firmware.mcuId = mcuId;
    // The interface restarts into the updater its model has in the catalogue.
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
    firmware.config.setTotalUpdates(static_cast<std::uint16_t>(options.totalUpdates));
    if (options.editFirmware)
        options.editFirmware(firmware);
    return firmware;
}

EndpointSettings EndpointsFor(const HarnessServers& servers, const HarnessOptions& options,
                              std::uint16_t catalogueProxyPort, std::uint16_t ftpProxyPort) {
    EndpointSettings endpoints = DefaultEndpointSettings();
    endpoints.catalogueConnection = servers.CatalogueConnectionVia(catalogueProxyPort);
    endpoints.catalogueTimeoutSeconds = options.catalogueTimeoutSeconds;
    endpoints.ftp = servers.ftp;
    endpoints.ftp.host = "127.0.0.1";
    endpoints.ftp.port = ftpProxyPort;
    if (options.editEndpoints)
        options.editEndpoints(endpoints);
    return endpoints;
}
}  // namespace

HarnessProgram::HarnessProgram(const HarnessServers& s, HarnessOptions o)
    : servers(s),
      options(std::move(o)),
      catalogueProxy("127.0.0.1", s.mariadbPort),
      ftpProxy("127.0.0.1", s.ftp.port),
      box(bus.PlugInterface(options.modelCode, DeviceMode::Unplugged)) {
    const McuId mcuId = UniqueMcuId(0xB6);  // marks the rows of these tests
    mcuSerial = ToUtf8(FormatMcuSerial(mcuId));
    const ApplicationOptions firmware = FirmwareFor(servers, options, mcuId);
    telvix = InstallTelvixFirmware(box, firmware);
    box.SetClock(clock);  // the interface's own timing follows the ticks too
    volumeWatcher = std::make_unique<UpdateVolumeWatcher>(box, telvix.flash);
    if (options.registerDevice) {
        HarnessDevice device;
        device.mfgId = options.modelCode;
        device.mcuSerial = mcuSerial;
        device.swId = firmware.softwareId;
        device.swBuild = firmware.softwareBuild;
        device.make = firmware.config.vehicleMake();
        device.model = firmware.config.vehicleModel();
        device.labelSerial = options.labelSerial;
        device.totalUpdates = options.totalUpdates;
        device.updatedBy = 1;
        device.updateDate = "01/02/2025";
        servers.InsertDevice(device);
    }
    if (options.mode != DeviceMode::Unplugged)
        box.Plug(options.mode);
    program = NewProgram();
}

std::unique_ptr<UpdaterProgram> HarnessProgram::NewProgram() {
    return std::make_unique<UpdaterProgram>(UpdaterAdapters{
        .bus = bus.Hid(),
        .volumes = bus.Volumes(),
        .notifications = bus.Notifications(),
        .deviceChangeQueued = {},
        .clock = clock,
        .system = system,
        .endpoints = EndpointsFor(servers, options, catalogueProxy.Port(), ftpProxy.Port()),
        .deviceArea = deviceArea,
        .searchArea = searchArea,
        .searchPanel = searchPanel,
        .progress = progress,
        .features = features,
        .messages = messages,
        .mainTimer = mainTimer,
        .replyTimer = replyTimer,
        .installJournal = journalFile,
        .diagnostics = &diagnostics,
    });
}

HarnessProgram::~HarnessProgram() {
    program->Shutdown();
    program.reset();
    if (options.registerDevice)
        servers.DeleteDevice(mcuSerial);
}

void HarnessProgram::Start() {
    program->Start();
}

void HarnessProgram::Restart() {
    program->Shutdown();
    program.reset();
    program = NewProgram();
    program->Start();
}

void HarnessProgram::Tick() {
    program->DeliverDeviceChanges();
    volumeWatcher->Poll();
    if (mainTimer.running)
        program->OnTimer(MAIN_TIMER_ID);
    ++tickCount;
    if (replyTimer.running && tickCount % 3 == 0)
        program->OnTimer(REPLY_TIMER_ID);
    clock.Advance(std::chrono::milliseconds(MAIN_TIMER_PERIOD_MS));
}

void HarnessProgram::Ticks(int count) {
    for (int i = 0; i < count; ++i)
        Tick();
}

bool HarnessProgram::RunUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        const std::int32_t before = State();
        Tick();
        // Waiting on a worker, the device or the emulator: let them run before the next tick.
        if (State() == before)
            PauseBriefly();
    }
    return true;
}

std::string HarnessProgram::DiagnosticsText() const {
    std::ifstream file(diagnostics.File());
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool HarnessProgram::RunUntilState(std::int32_t state, std::chrono::milliseconds limit) {
    return RunUntil([&] { return State() == state; }, limit);
}

int HarnessProgram::ResultRowOf(const HarnessEntry& entry) const {
    const UpdaterContext& ctx = program->Context();
    const std::u16string years = FromUtf8(entry.yearFrom + "-" + entry.yearTo);
    for (int row = 0; row < searchPanel.ResultCount(); ++row) {
        const SearchRow& found = ctx.SearchRows[static_cast<std::size_t>(row)];
        if (searchPanel.ResultText(row, ResultColumn::Make) == FromUtf8(entry.make) &&
            searchPanel.ResultText(row, ResultColumn::Model) == FromUtf8(entry.model) &&
            searchPanel.ResultText(row, ResultColumn::Year) == years && found.sw_id == entry.swId &&
            found.sw_build == entry.swBuild) {
            return row;
        }
    }
    return -1;
}

bool HarnessProgram::InstallEntry(const HarnessEntry& entry) {
    if (searchPanel.Select(SearchList::Make, FromUtf8(entry.make))) {
        program->OnMakeSelected();
        searchPanel.Select(SearchList::Model, FromUtf8(entry.model));
    }
    program->OnSearch();
    const int row = ResultRowOf(entry);
    if (row < 0)
        return false;
    program->OnResultClicked(row);
    if (!searchPanel.installEnabled)
        return false;
    program->OnInstall();
    return true;
}
