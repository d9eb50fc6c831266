#include "tools/cli/CliMain.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>

#include "catalogue/InstallJournal.h"
#include "platform/Clock.h"
#include "platform/DiagnosticsLog.h"
#include "platform/ScratchDirectory.h"
#include "platform/SystemAdapters.h"
#include "platform/Text.h"
#include "retrieval/RemotePath.h"
#include "sim/demo/CatalogueInterface.h"
#include "sim/demo/DemoData.h"
#include "sim/demo/DemoMachine.h"
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliHistory.h"

namespace {
constexpr char kVersion[] = "telvix-cli 4.0.0";

// The demo's machine has a network by definition: its catalogue and images are local files.
class DemoSystem final : public SystemPort {
  public:
    explicit DemoSystem(SystemPort& real) : real_(real) {}
    std::u16string CurrentDirectory() override { return real_.CurrentDirectory(); }
    bool IsInternetConnected() override { return true; }
    int RunConnectorInstaller(const std::u16string& path) override {
        return real_.RunConnectorInstaller(path);
    }
    void CloseMainWindow() override {}

  private:
    SystemPort& real_;
};

// A scratch directory for the demo data, removed at the end of the run.
struct ScratchDirectory {
    ScratchDirectory() : path(MakeScratchDirectory("telvix-cli-demo-")) {}
    ~ScratchDirectory() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

// What one run owns besides the session: the real machine, or the demo's or an emulated one.
struct OwnedMachine {
    std::unique_ptr<SystemPort> system;
    SystemClock clock;
    std::unique_ptr<HidBus> hid;
    std::unique_ptr<VolumePort> volumes;
    std::unique_ptr<DeviceNotificationPort> notifications;
    std::unique_ptr<ScratchDirectory> scratch;
    std::unique_ptr<DemoSystem> demoSystem;
    std::unique_ptr<DemoMachine> demo;
};

struct Options {
    bool demo = false;
    std::string demoModel = kDemoDefaultModel;
    std::string emulate;  // model code of the emulated interface
    std::string emulateSerial;
    bool json = false, verbose = false, yes = false, no = false;
    double timeoutSeconds = 20;
};

void AddFilterOptions(CLI::App& command, SearchFilter& filter) {
    command.add_option("--make", filter.make, "Vehicle make, as the catalogue lists it");
    command.add_option("--model", filter.model, "Vehicle model (with --make)");
    command.add_option("--year", filter.year, "Model year, e.g. 2015");
    command.add_flag("--manual", filter.manualTransmission, "Only entries for a manual transmission");
}

EndpointSettings ConfiguredEndpoints(std::ostream& err) {
    std::string error;
    EndpointSettings endpoints = LoadEndpointSettings(SettingsLocationsFromEnvironment(), &error);
    if (!error.empty())
        err << "warning: " << error << "\n";
    return endpoints;
}

// The program on an emulated interface: its bus stands in for the real one, and a copied
// firmware.bin is taken off its update volume before every tick.
CliMachine EmulatedMachine(DemoMachine& machine, Clock& clock, SystemPort& system, EndpointSettings endpoints,
                           std::filesystem::path journal) {
    return CliMachine{machine.Bus().Hid(),
                      machine.Bus().Volumes(),
                      machine.Bus().Notifications(),
                      clock,
                      system,
                      std::move(endpoints),
                      [&machine] { machine.PollUpdateVolume(); },
                      {},
                      std::move(journal)};
}

std::optional<CliMachine> BuildMachine(const Options& options, const ControllerId& emulatedId,
                                       OwnedMachine& owned, const CliEnvironment& env) {
    Clock& clock = env.clock != nullptr ? *env.clock : owned.clock;
    owned.system =
        MakeSystemPort([] {}, [&env](const std::u16string& line) { env.err << ToUtf8(line) << "\n"; });
    SystemPort& system = env.system != nullptr ? *env.system : *owned.system;
    std::optional<CliMachine> machine;
    if (options.demo) {
        owned.scratch = std::make_unique<ScratchDirectory>();
        DemoData data;
        if (owned.scratch->path.empty()) {
            env.err << "error: cannot create a directory for the demo data\n";
            return std::nullopt;
        }
        if (auto error = WriteDemoData(owned.scratch->path, data)) {
            env.err << "error: cannot prepare the demo data: " << *error << "\n";
            return std::nullopt;
        }
        owned.demo = std::make_unique<DemoMachine>(
            options.demoModel, MachineSetup{DemoInterfaceOptions, &clock, /*watchVolumeOnItsOwn=*/false});
        owned.demoSystem = std::make_unique<DemoSystem>(system);
        // The demo's installs are journaled with its data and go with it.
        machine.emplace(EmulatedMachine(*owned.demo, clock, *owned.demoSystem,
                                        DemoEndpoints(data, DefaultEndpointSettings().makerWebAddress),
                                        owned.scratch->path / "journal.sqlite"));
    } else if (!options.emulate.empty()) {
        EndpointSettings endpoints = ConfiguredEndpoints(env.err);
        const CatalogueDb catalogue(endpoints);
        auto interfaceFor = [catalogue, emulatedId](const std::string& model) {
            return CatalogueInterfaceOptions(model, emulatedId, catalogue);
        };
        owned.demo = std::make_unique<DemoMachine>(
            options.emulate, MachineSetup{interfaceFor, &clock, /*watchVolumeOnItsOwn=*/false});
        machine.emplace(
            EmulatedMachine(*owned.demo, clock, system, std::move(endpoints), DefaultInstallJournalFile()));
    } else {
        EndpointSettings endpoints = ConfiguredEndpoints(env.err);
        owned.hid = MakeHidBus();
        owned.volumes = MakeVolumePort();
        owned.notifications = MakeDeviceNotifications();
        machine.emplace(CliMachine{*owned.hid,
                                   *owned.volumes,
                                   *owned.notifications,
                                   clock,
                                   system,
                                   std::move(endpoints),
                                   {},
                                   {},
                                   DefaultInstallJournalFile()});
    }
    machine->waitTick = env.waitTick;
    return machine;
}
}  // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    CLI::App app{
        "telvix-cli: services Telvix vehicle video interfaces from the command line: shows the attached "
        "interface, searches the software catalogue, installs software and edits the interface's settings.\n"
        "Exit codes: 0 success, 1 other error, 2 usage error or unanswered question, 3 no interface found "
        "(or no permission to open it), 4 catalogue failure, 5 install failed, 6 settings or feature "
        "read/write failed.",
        "telvix-cli"};
    Options options;
    CliRequest request;
    app.set_version_flag("--version", kVersion);
    app.add_flag("--demo", options.demo,
                 "Run against an emulated interface with the embedded catalogue and image store");
    app.add_option("--demo-model", options.demoModel, "Model code of the demo's interface (default QD7720R)");
    auto* emulate =
        app.add_option("--emulate", options.emulate,
                       "Run against an emulated interface of this model with the configured catalogue "
                       "and image server (checks a deployment without hardware)");
    emulate->excludes("--demo");
    app.add_option("--emulate-serial", options.emulateSerial,
                   "Controller id of the emulated interface, 32 hex digits (default: a fresh random one)")
        ->needs(emulate);
    app.add_flag("--json", options.json, "JSON output (status, search, config show, overlay show, features)");
    app.add_flag("--verbose", options.verbose,
                 "Diagnostics: endpoints, controller states and link modes on stderr");
    auto* yes = app.add_flag("--yes,-y", options.yes, "Answer yes to the questions the program asks");
    app.add_flag("--no,-n", options.no, "Answer no to the questions the program asks")->excludes(yes);
    app.add_option("--timeout", options.timeoutSeconds, "Seconds to wait for the interface (default 20)")
        ->check(CLI::PositiveNumber);
    app.require_subcommand(1);
    // Global options may also follow the subcommand: "telvix-cli search --make Audi --json".
    app.fallthrough();

    app.add_subcommand("status", "Link mode, model, identity, vehicle, software and label serial");
    CLI::App* search = app.add_subcommand("search", "Search the catalogue for the interface's model");
    AddFilterOptions(*search, request.filter);
    CLI::App* install =
        app.add_subcommand("install", "Install a catalogue entry: a search row or its software keys");
    AddFilterOptions(*install, request.filter);
    install->add_option("--row", request.row, "Row of the search with the same filters");
    install->add_option("--sw-id", request.swId, "Software id of the entry");
    install->add_option("--sw-build", request.swBuild, "Software build of the entry (with --sw-id)");
    CLI::App* config = app.add_subcommand("config", "The interface's configuration record");
    config->require_subcommand(1);
    config->add_subcommand("show", "Every named field and bit, decoded");
    CLI::App* configSet =
        config->add_subcommand("set", "Write FIELD=VALUE... (names as config show prints them)");
    configSet->add_option("assignments", request.assignments, "FIELD=VALUE")->required();
    CLI::App* overlay = app.add_subcommand("overlay", "The interface's text overlay settings");
    overlay->require_subcommand(1);
    overlay->add_subcommand("show", "Overlay and caption per camera position");
    CLI::App* overlaySet =
        overlay->add_subcommand("set", "Write POSITION.overlay=on|off, POSITION.caption=camera|input");
    overlaySet->add_option("assignments", request.assignments, "FIELD=VALUE")->required();
    CLI::App* features = app.add_subcommand("features", "Read the activated features, or program them");
    std::string program;
    features->add_option("--program", program, "Inputs to activate: comma list of rear, aux, nav, or none");
    app.add_subcommand("history",
                       "The install journal, newest first: time, model, serial, software, vehicle, outcome "
                       "and whether the catalogue took the install's record");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, env.out, env.err);
        return code == 0 ? EXIT_OK : EXIT_USAGE;
    }
    if (options.demo && !IsKnownModel(options.demoModel)) {
        env.err << "error: unknown model code " << options.demoModel << "\n";
        return EXIT_USAGE;
    }
    if (!options.emulate.empty() && !IsKnownModel(options.emulate)) {
        env.err << "error: unknown model code " << options.emulate << "\n";
        return EXIT_USAGE;
    }
    ControllerId emulatedId = RandomControllerId();
    if (!options.emulateSerial.empty()) {
        const auto parsed = ParseControllerId(options.emulateSerial);
        if (!parsed) {
            env.err << "error: --emulate-serial needs 32 hexadecimal digits, e.g. "
                       "00112233-44556677-8899AABB-CCDDEEFF\n";
            return EXIT_USAGE;
        }
        emulatedId = *parsed;
    }
    const CLI::App* chosen = app.get_subcommands().front();
    request.command = chosen->get_name();
    if (chosen == config || chosen == overlay)
        request.command += "-" + chosen->get_subcommands().front()->get_name();
    if (!program.empty())
        request.programFeatures = program;
    if (request.swBuild && !request.swId) {
        env.err << "error: --sw-build needs --sw-id\n";
        return EXIT_USAGE;
    }
    if (request.row && request.swId) {
        env.err << "error: give --row or --sw-id, not both\n";
        return EXIT_USAGE;
    }
    request.json = options.json;
    request.connectTimeout = std::chrono::milliseconds(static_cast<long>(options.timeoutSeconds * 1000));
    // The journal of this user's installs; it needs no interface (demo installs are not in it).
    if (request.command == "history")
        return History(DefaultInstallJournalFile(), request.json, env.out, env.err);

    OwnedMachine owned;
    std::optional<CliMachine> machine = env.machine != nullptr
                                            ? std::optional<CliMachine>(*env.machine)
                                            : BuildMachine(options, emulatedId, owned, env);
    if (!machine)
        return EXIT_ERROR;
    DiagnosticsLog diagnostics(DefaultDiagnosticsLogFile());
    if (machine->diagnostics == nullptr)
        machine->diagnostics = &diagnostics;
    if (options.verbose) {
        env.err << "catalogue: " << machine->endpoints.catalogueConnection << "\n"
                << "images: " << EndpointAddress(machine->endpoints.ftp) << "\n";
    }
    CliTerminal terminal{env.out,
                         env.err,
                         env.stdoutIsTerminal,
                         options.yes  ? AnswerPolicy::Yes
                         : options.no ? AnswerPolicy::No
                                      : AnswerPolicy::Ask,
                         env.stdinIsTerminal,
                         env.readLine};
    CliSession session(*machine, terminal);
    if (options.verbose)
        session.SetLog(&env.err);
    return RunCommand(session, request, env.out, env.err);
}
