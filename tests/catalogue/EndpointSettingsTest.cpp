// The endpoint settings: the program's fixed values and the settings file's places and checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "catalogue/EndpointSettings.h"

namespace {

class EndpointSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("telvix-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& relative, const std::string& text) {
        const std::filesystem::path path = dir_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
        return path.string();
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST(EndpointDefaults, ConnectionStringHasTheCatalogueForm) {
    const EndpointSettings settings = DefaultEndpointSettings();
    // Driver, Server, Database, User (14 hex), Password (8 hex), in this order, no trailing ";".
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t start = 0;
    const std::string& text = settings.catalogueConnection;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string item = text.substr(start, end - start);
        const std::size_t eq = item.find('=');
        ASSERT_NE(eq, std::string::npos) << item;
        pairs.emplace_back(item.substr(0, eq), item.substr(eq + 1));
        start = end + 1;
    }
    ASSERT_EQ(pairs.size(), 5u) << text;
    const char* keys[] = {"Driver", "Server", "Database", "User", "Password"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(pairs[i].first, keys[i]);
        EXPECT_FALSE(pairs[i].second.empty());
    }
    EXPECT_EQ(pairs[0].second, "{MySQL ODBC 5.1 Driver}");
    auto lowerHex = [](const std::string& value) {
        return value.find_first_not_of("0123456789abcdef") == std::string::npos;
    };
    EXPECT_TRUE(pairs[3].second.size() == 14 && lowerHex(pairs[3].second)) << pairs[3].second;
    EXPECT_TRUE(pairs[4].second.size() == 8 && lowerHex(pairs[4].second)) << pairs[4].second;
    EXPECT_EQ(settings.catalogueTimeoutSeconds, 15);
    EXPECT_EQ(settings.ftp.scheme, "ftp");
    EXPECT_EQ(settings.ftp.port, 21);
    EXPECT_FALSE(settings.ftp.host.empty());
    EXPECT_TRUE(settings.makerWebAddress.starts_with("https://"));
    EXPECT_TRUE(settings.sourceFile.empty());
}

TEST_F(EndpointSettingsTest, ExplicitFileOverridesGivenKeysOnly) {
    const std::string file =
        Write("mine.ini",
              "[catalogue]\nconnection = Driver={SQLite3 ODBC Driver};Database=/x;NoCreat=1\n"
              "timeout_seconds = 2 ; seconds\n[ftp]\nscheme = file\nbase_path = /srv/images\n");
    SettingsLocations where;
    where.explicitFile = file;
    where.files = {Write("etc/updater.ini", "[catalogue]\nconnection = other\n")};
    std::string error;
    const EndpointSettings settings = LoadEndpointSettings(where, &error);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(settings.catalogueConnection, "Driver={SQLite3 ODBC Driver};Database=/x;NoCreat=1");
    EXPECT_EQ(settings.catalogueTimeoutSeconds, 2);
    EXPECT_EQ(settings.ftp.scheme, "file");
    EXPECT_EQ(settings.ftp.basePath, "/srv/images");
    EXPECT_EQ(settings.ftp.host, DefaultEndpointSettings().ftp.host);
    EXPECT_EQ(settings.sourceFile, file);
}

TEST_F(EndpointSettingsTest, UserFileComesBeforeSystemFile) {
    SettingsLocations where;
    const std::string xdg = (dir_ / "xdg").string();
    const std::string home = (dir_ / "home").string();
    const std::string system = Write("etc/updater.ini", "[maker]\nweb_address = https://system.example/\n");
    where.files = XdgSettingsFiles(xdg, home, system);
    EXPECT_EQ(LoadEndpointSettings(where).makerWebAddress, "https://system.example/");

    Write("home/.config/telvix-updater/updater.ini", "[maker]\nweb_address = https://home.example/\n");
    EXPECT_EQ(LoadEndpointSettings(where).makerWebAddress, "https://system.example/")
        << "with XDG_CONFIG_HOME set, ~/.config is not the user place";
    Write("xdg/telvix-updater/updater.ini", "[maker]\nweb_address = https://xdg.example/\n");
    EXPECT_EQ(LoadEndpointSettings(where).makerWebAddress, "https://xdg.example/");

    where.files = XdgSettingsFiles("", home, system);
    EXPECT_EQ(LoadEndpointSettings(where).makerWebAddress, "https://home.example/");
}

TEST_F(EndpointSettingsTest, NoFileGivesTheFixedValues) {
    SettingsLocations where;
    where.files = XdgSettingsFiles("", dir_.string(), (dir_ / "absent.ini").string());
    std::string error;
    EXPECT_EQ(LoadEndpointSettings(where, &error).catalogueConnection,
              DefaultEndpointSettings().catalogueConnection);
    EXPECT_TRUE(error.empty());
}

TEST_F(EndpointSettingsTest, BadFilesAreReportedAndChangeNothing) {
    SettingsLocations where;
    where.explicitFile = (dir_ / "missing.ini").string();
    std::string error;
    EXPECT_EQ(LoadEndpointSettings(where, &error).catalogueConnection,
              DefaultEndpointSettings().catalogueConnection);
    EXPECT_NE(error.find("not found"), std::string::npos) << error;

    for (const char* text : {"[ftp]\nport = 70000\n", "[ftp]\nscheme = http\n",
                             "[catalogue]\ntimeout_seconds = 0\n", "[catalogue]\nthis line is broken\n"}) {
        EndpointSettings settings = DefaultEndpointSettings();
        EXPECT_TRUE(ReadEndpointSettingsFile(Write("bad.ini", text), settings).has_value()) << text;
        EXPECT_EQ(settings.ftp.port, 21) << text;
        EXPECT_EQ(settings.ftp.scheme, "ftp") << text;
        EXPECT_EQ(settings.catalogueTimeoutSeconds, 15) << text;
    }
}
