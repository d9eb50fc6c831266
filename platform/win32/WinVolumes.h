#pragma once
// The volume scan on Windows: the logical drives D: to Z: in that order, each with its drive type
// (GetDriveTypeW) and, when removable, its file-system name and label (GetVolumeInformationW).
// Root paths are like "E:\\".
#include "platform/VolumePort.h"

class WinVolumes final : public VolumePort {
  public:
    std::vector<VolumeEntry> ListVolumes() override;
};
