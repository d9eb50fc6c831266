#include "tools/fault-matrix/CellRig.h"

#include <fstream>

RouteTarget TargetOf(Route route) {
    switch (route) {
        case Route::HidFromApplication:
            return {"WD7731R", 2201, 5, DeviceMode::Application};
        case Route::HidFromBootloader:
            return {"WD7731R", 2201, 5, DeviceMode::Bootloader};
        case Route::Volume:
            return {"WE5581R", 2301, 2, DeviceMode::Application};
    }
    return {};
}

CellRig::CellRig(const HarnessServers& shared, Route route, const RouteTarget& target, bool ownAccount,
                 bool ownFtpServer)
    : shared_(shared), used_(shared), route_(route) {
    auto entry = shared.FindEntry(target.model, target.swId, target.swBuild);
    if (!entry) {
        problem_ = "the catalogue has no entry " + target.model;
        return;
    }
    target_ = *entry;
    if (ownAccount) {
        account_ = std::make_unique<CatalogueAccount>();
        if (!account_->Valid()) {
            problem_ = "no catalogue account of its own (administrator socket refused)";
            return;
        }
        used_.catalogueConnection = account_->Connection(shared.catalogueConnection);
    }
    if (ownFtpServer) {
        // Throttled, so the cell can strike while a transfer is under way.
        ftp_ = std::make_unique<PrivateFtpServer>(20000);
        if (!ftp_->Running()) {
            problem_ = "no FTP server of its own";
            return;
        }
        used_.ftp = ftp_->Access().endpoint;
        used_.ftpRoot = ftp_->Access().root;
    }
    used_.PublishImage(target_);
    HarnessOptions options;
    options.modelCode = target.model;
    options.mode = target.mode;
    harness_ = std::make_unique<HarnessProgram>(used_, options);
    ready_ = true;
}

CellRig::~CellRig() {
    if (harness_) {
        // Through the shared account: the cell's own may have lost its password or rights.
        const std::string serial = harness_->McuSerial();
        harness_.reset();
        shared_.DeleteDevice(serial);
    }
    if (imageChanged_)
        used_.PublishImage(target_);
}

void CellRig::ServeImage(const std::vector<std::uint8_t>& bytes) {
    imageChanged_ = true;
    const auto path = used_.ftpRoot / target_.path / target_.filename;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void CellRig::RemoveImage() {
    imageChanged_ = true;
    used_.RemoveImage(target_);
}
