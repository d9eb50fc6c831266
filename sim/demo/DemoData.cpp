#include "sim/demo/DemoData.h"

#include <algorithm>

#include "FixtureCatalogue.h"
#include "FixtureWriters.h"
#include "platform/SqliteOdbcDriver.h"
#include "platform/Utf8Path.h"

std::optional<std::string> WriteDemoData(const std::filesystem::path& dir, DemoData& data) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        return "cannot create " + dir.string() + ": " + error.message();
    }
    data.catalogueFile = dir / "catalogue.sqlite";
    data.imageStore = dir / "images";
    const FixtureCatalogue catalogue = BuildFixtureCatalogue();
    std::string failure = WriteSqliteCatalogue(catalogue, PathToUtf8(data.catalogueFile));
    if (failure.empty()) {
        failure = WriteImageStore(catalogue, PathToUtf8(data.imageStore));
    }
    if (!failure.empty()) {
        return failure;
    }
    return std::nullopt;
}

EndpointSettings DemoEndpoints(const DemoData& data, const std::string& makerWebAddress) {
    EndpointSettings settings;
    // The file as the driver opens it: under wine that is the host's path of the Windows one.
    settings.catalogueConnection =
        "Driver=" + SqliteOdbcDriver() + ";Database=" + OdbcDriverFilePath(data.catalogueFile) + ";NoCreat=1";
    settings.catalogueTimeoutSeconds = 5;
    settings.ftp.scheme = "file";
    settings.ftp.basePath = PathToUtf8(data.imageStore);
    settings.makerWebAddress = makerWebAddress;
    settings.sourceFile = "demo";
    return settings;
}

bool IsKnownModel(const std::string& modelCode) {
    const std::vector<FixtureHardware>& models = FixtureHardwareModels();
    return std::any_of(models.begin(), models.end(),
                       [&](const FixtureHardware& hw) { return hw.mfg_id == modelCode; });
}
