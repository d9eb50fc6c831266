#include "tools/cli/CliMain.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>

#include "app/windows/DemoMachine.h"
#include "platform/Clock.h"
#include "platform/ScratchDirectory.h"
#include "platform/SystemAdapters.h"
#include "platform/Text.h"
#include "tools/cli/CliCommands.h"

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

// What one run owns besides the session: the real or the demo machine.
struct OwnedMachine {
    std::unique_ptr<SystemPort> system;
    SystemClock clock;
    std::unique_ptr<HidBus> hid;
    std::unique_ptr<VolumePort> volumes;
    std::unique_ptr<DeviceNotificationPort> notifications;
    std::unique_ptr<ScratchDirectory> scratch;
    std::unique_ptr<DemoMachine> demo;
    std::unique_ptr<DemoSystem> demoSystem;
};

struct Options {
    bool demo = false;
    std::string demoModel = kDemoDefaultModel;
    bool json = false, verbose = false, yes = false, no = false;
    double timeoutSeconds = 20;
};

void AddFilterOptions(CLI::App& command, SearchFilter& filter) {
    command.add_option("--make", filter.make, "Vehicle make, as the catalogue lists it");
    command.add_option("--model", filter.model, "Vehicle model (with --make)");
    command.add_option("--year", filter.year, "Model year, e.g. 2015");
    command.add_flag("--manual", filter.manualTransmission, "Only entries for a manual transmission");
}

std::optional<CliMachine> BuildMachine(const Options& options, OwnedMachine& owned, std::ostream& err) {
    owned.system = MakeSystemPort([] {}, [&err](const std::u16string& line) { err << ToUtf8(line) << "\n"; });
    if (options.demo) {
        owned.scratch = std::make_unique<ScratchDirectory>();
        DemoData data;
        if (owned.scratch->path.empty()) {
            err << "error: cannot create a directory for the demo data\n";
            return std::nullopt;
        }
        if (auto error = WriteDemoData(owned.scratch->path, data)) {
            err << "error: cannot prepare the demo data: " << *error << "\n";
            return std::nullopt;
        }
        owned.demo = std::make_unique<DemoMachine>(options.demoModel);
        owned.demoSystem = std::make_unique<DemoSystem>(*owned.system);
        return CliMachine{owned.demo->Bus().Hid(),
                          owned.demo->Bus().Volumes(),
                          owned.demo->Bus().Notifications(),
                          owned.clock,
                          *owned.demoSystem,
                          DemoEndpoints(data, DefaultEndpointSettings().makerWebAddress),
                          {},
                          {}};
    }
    std::string error;
    EndpointSettings endpoints = LoadEndpointSettings(SettingsLocationsFromEnvironment(), &error);
    if (!error.empty())
        err << "warning: " << error << "\n";
    owned.hid = MakeHidBus();
    owned.volumes = MakeVolumePort();
    owned.notifications = MakeDeviceNotifications();
    return CliMachine{*owned.hid,
                      *owned.volumes,
                      *owned.notifications,
                      owned.clock,
                      *owned.system,
                      std::move(endpoints),
                      {},
                      {}};
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

    OwnedMachine owned;
    std::optional<CliMachine> machine = env.machine != nullptr ? std::optional<CliMachine>(*env.machine)
                                                               : BuildMachine(options, owned, env.err);
    if (!machine)
        return EXIT_ERROR;
    if (options.verbose) {
        env.err << "catalogue: " << machine->endpoints.catalogueConnection << "\n"
                << "images: " << machine->endpoints.ftp.scheme << "://" << machine->endpoints.ftp.host
                << machine->endpoints.ftp.basePath << "\n";
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
