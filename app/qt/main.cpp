// telvix-updater: the desktop service tool for Telvix vehicle video interfaces.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "app/qt/CKioApp.h"
#include "retrieval/TransferLibrary.h"
#include "sim/demo/DemoData.h"

namespace {
// Qt cannot start without a display; say so instead of aborting in the platform plugin.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0') {
        return true;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

bool AsksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help" || arg == "-v" || arg == "--version" || arg == "--help-all") {
            return true;
        }
    }
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    TransferLibraryScope transfers;  // before Qt or the program start any thread
    // --help and --version need no display: answer them on the offscreen platform.
    if (AsksForHelpOrVersion(argc, argv) && !DisplayAvailable()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (!DisplayAvailable()) {
        std::cerr << "telvix-updater: no graphical display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Start it from a desktop session, or under Xvfb (see scripts/screenshots).\n";
        return 2;
    }
    CKioApp app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Telvix.i Software Updater: finds an attached Telvix video interface, searches the software "
        "catalogue for it and installs the chosen software.\n\nWithout --demo the catalogue and image "
        "server come from the settings file (TELVIX_UPDATER_CONFIG, ~/.config/telvix-updater/updater.ini "
        "or /etc/telvix-updater/updater.ini), else the fixed endpoints.");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption demo("demo",
                            "Run against an emulated interface with the embedded catalogue and image store; "
                            "MODEL (optional, default QD7720R) is the interface's model code.");
    parser.addOption(demo);
    QCommandLineOption demoData("demo-data",
                                "Write the demo's catalogue and images into DIR (default: a "
                                "fresh temporary directory).",
                                "DIR");
    parser.addOption(demoData);
    QCommandLineOption session("screenshot-session",
                               "Run the scripted demo session, saving screenshots to DIR.", "DIR");
    session.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(session);
    parser.addPositionalArgument("MODEL", "Model code of the emulated interface (with --demo).", "[MODEL]");
    parser.process(app);

    LaunchOptions options;
    options.demo = parser.isSet(demo) || parser.isSet(session);
    options.demoDataDir = parser.value(demoData);
    options.screenshotDir = parser.value(session);
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty() && !options.demo) {
        std::cerr << "telvix-updater: a model code is given only with --demo\n";
        return 2;
    }
    if (positional.size() > 1) {
        std::cerr << "telvix-updater: give at most one model code\n";
        return 2;
    }
    options.demoModel = positional.isEmpty() ? kDemoDefaultModel : positional.first().toUpper().toStdString();
    if (options.demo && !IsKnownModel(options.demoModel)) {
        std::cerr << "telvix-updater: unknown model code " << options.demoModel
                  << "; known: QD7720R QD772ER QH7720R QH772ER WD7731R WH7731R WE5581R WJ7731R TN7931R "
                     "WE5540R TN7581R TN7580R\n";
        return 2;
    }
    return app.InitInstance(options);
}
