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
    if (volume_)
        volume_->Unmount();
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

bool CellRig::FillUpdateVolume(std::uintmax_t freeBytes) {
    volume_ = std::make_unique<FatImageMount>();
    if (!volume_->Mounted())
        return false;
    const std::filesystem::path root = volume_->MountPoint();
    const std::uintmax_t capacity = 1440 * 1024 - 32 * 1024;  // less the FAT tables and root directory
    std::ofstream filler(root / "data.bin", std::ios::binary);
    const std::vector<char> block(4096, 0x55);
    for (std::uintmax_t written = 0; written + freeBytes + block.size() <= capacity; written += block.size())
        filler.write(block.data(), static_cast<std::streamsize>(block.size()));
    filler.close();
    // The interface shows the mounted file system as its update volume from now on.
    std::error_code error;
    const std::filesystem::path volumeRoot = harness_->box.VolumeRoot();
    std::filesystem::create_directories(volumeRoot.parent_path(), error);
    std::filesystem::remove_all(volumeRoot, error);
    std::filesystem::create_directory_symlink(root, volumeRoot, error);
    return !error;
}
