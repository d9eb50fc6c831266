// The Linux meanings of the system port: the Internet state and the connector "installer".
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/LinuxSystem.h"

namespace fs = std::filesystem;

namespace {
TEST(LinuxSystem, InternetNeedsAnInterfaceOtherThanLoopbackUp) {
    EXPECT_FALSE(AnyOutsideInterfaceUp({}));
    EXPECT_FALSE(AnyOutsideInterfaceUp({{"lo", true, true}, {"eth0", false, false}}));
    EXPECT_TRUE(AnyOutsideInterfaceUp({{"lo", true, true}, {"eth0", true, false}}));
    // The machine always lists its loopback, each interface once.
    const auto interfaces = ListNetworkInterfaces();
    int loopbacks = 0;
    for (const auto& interface : interfaces)
        loopbacks += interface.loopback ? 1 : 0;
    EXPECT_EQ(loopbacks, 1);
}

struct InstallDirs {
    InstallDirs() : root(fs::temp_directory_path() / ("telvix-connector-" + std::to_string(getpid()))) {
        fs::remove_all(root);
        fs::create_directories(root / "lib");
        fs::create_directories(root / "home");
        options.libraryDirectories = {(root / "missing").string(), (root / "lib").string()};
        options.libraryNames = {"libmaodbc.so", "libmyodbc8w.so"};
        options.driverFile = (root / "home" / ".odbcinst.ini").string();
    }
    ~InstallDirs() { fs::remove_all(root); }
    std::string DriverFile() const {
        std::ifstream in(options.driverFile);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path root;
    ConnectorInstallOptions options;
};

TEST(LinuxSystem, InstallerFailsWhenNoDriverLibraryIsInstalled) {
    InstallDirs dirs;
    EXPECT_NE(RegisterConnectorDriver(dirs.options), 0);
    EXPECT_FALSE(fs::exists(dirs.options.driverFile));
}

TEST(LinuxSystem, InstallerRegistersTheLibraryAndKeepsOtherDrivers) {
    InstallDirs dirs;
    std::ofstream(dirs.root / "lib" / "libmyodbc8w.so") << "elf";
    std::ofstream(dirs.options.driverFile) << "[SQLite3]\nDriver=/usr/lib/libsqlite3odbc.so\n\n"
                                              "[MySQL ODBC 5.1 Driver]\nDriver=/old/libmyodbc5.so\nSetup=x\n"
                                              "[PostgreSQL]\nDriver=/usr/lib/psqlodbcw.so\n";
    ASSERT_EQ(RegisterConnectorDriver(dirs.options), 0);
    const std::string text = dirs.DriverFile();
    EXPECT_NE(text.find("[SQLite3]\nDriver=/usr/lib/libsqlite3odbc.so"), std::string::npos);
    EXPECT_NE(text.find("[PostgreSQL]\nDriver=/usr/lib/psqlodbcw.so"), std::string::npos);
    EXPECT_EQ(text.find("/old/libmyodbc5.so"), std::string::npos);
    EXPECT_EQ(text.find("Setup=x"), std::string::npos);
    EXPECT_NE(text.find("[MySQL ODBC 5.1 Driver]\n"), std::string::npos);
    EXPECT_NE(text.find("Driver=" + (dirs.root / "lib" / "libmyodbc8w.so").string() + "\n"),
              std::string::npos);
    // Running it again changes nothing.
    ASSERT_EQ(RegisterConnectorDriver(dirs.options), 0);
    EXPECT_EQ(dirs.DriverFile(), text);
}

TEST(LinuxSystem, InstallerReportsAFileThatCannotBeWritten) {
    InstallDirs dirs;
    std::ofstream(dirs.root / "lib" / "libmaodbc.so") << "elf";
    dirs.options.driverFile = (dirs.root / "no-such-dir" / ".odbcinst.ini").string();
    EXPECT_EQ(RegisterConnectorDriver(dirs.options), CONNECTOR_WRITE_FAILED);
}

// The driver manager itself finds the registered driver: isql reaches the driver (which then
// cannot connect to a closed port) instead of failing to open it.
TEST(LinuxSystem, RegisteredDriverIsFoundByTheDriverManager) {
    const fs::path maodbc = "/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so";
    if (!fs::exists(maodbc) || !fs::exists("/usr/bin/isql"))
        GTEST_SKIP() << "MariaDB ODBC driver or isql missing";
    InstallDirs dirs;
    fs::create_directories(dirs.root / "sys");
    std::ofstream(dirs.root / "sys" / "odbcinst.ini") << "";
    dirs.options.libraryDirectories = {maodbc.parent_path().string()};
    dirs.options.libraryNames = {"libmaodbc.so"};
    ASSERT_EQ(RegisterConnectorDriver(dirs.options), 0);

    auto isql = [&](const fs::path& home) {
        const std::string command =
            "HOME=" + home.string() + " ODBCSYSINI=" + (dirs.root / "sys").string() +
            " /usr/bin/isql -v -k 'Driver={MySQL ODBC 5.1 Driver};Server=127.0.0.1;Port=1' "
            "</dev/null 2>&1";
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            std::array<char, 256> buffer;
            while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
                output += buffer.data();
            pclose(pipe);
        }
        return output;
    };
    EXPECT_NE(isql(dirs.root / "elsewhere").find("Can't open lib"), std::string::npos);
    const std::string registered = isql(dirs.root / "home");
    EXPECT_EQ(registered.find("Can't open lib"), std::string::npos) << registered;
    EXPECT_NE(registered.find("Can't connect"), std::string::npos) << registered;
}

TEST(LinuxSystem, PortAnswersFromTheMachine) {
    bool closed = false;
    LinuxSystem system([&] { closed = true; });
    EXPECT_EQ(system.CurrentDirectory(), std::u16string(fs::current_path().u16string()));
    system.CloseMainWindow();
    EXPECT_TRUE(closed);
}
}  // namespace
