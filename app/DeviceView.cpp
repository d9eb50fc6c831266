// What the device area and the search area show for the link mode and for the three views of the
// device information.
#include "app/ControllerTexts.h"
#include "app/MainController.h"
#include "platform/Text.h"

namespace {
constexpr std::size_t kVehicleTextReadBack = 99;

std::u16string Text(std::u16string_view text) {
    return std::u16string(text);
}
}  // namespace

void MainController::ShowLinkStatus() {
    DeviceAreaPort& device = ports_.deviceArea;
    SearchAreaPort& search = ports_.searchArea;
    switch (context_.iUsbConnectSts) {
        case USB_APPLICATION:
            device.SetStatusIcon(ICON_USB_APPLICATION);
            search.EnableVehicleLists(true);
            break;
        case USB_MASS_STORAGE:
        case USB_BOOTLOADER:
            device.SetStatusIcon(ICON_USB_LOADER);
            device.SetStatusText(Text(texts::kReadyForDownload));
            search.EnableVehicleLists(false);
            search.EnableSearch(false);
            device.ShowSettingsButton(false);
            break;
        case USB_NOT_CONNECTED:
            device.SetStatusIcon(ICON_USB_DISCONNECTED);
            device.SetVehicleText(u"");
            device.SetFeaturesText(u"");
            device.SetStatusText(Text(context_.deniedInterfacePath.empty() ? texts::kDeviceDisconnected
                                                                           : texts::kDevicePermissionDenied));
            ports_.searchPanel.ClearResults();
            search.EnableVehicleLists(false);
            search.EnableSearch(false);
            ports_.searchPanel.EnableInstall(false);
            device.ShowSettingsButton(false);
            device.ShowFeatureButton(false);
            break;
        default:  // connecting: nothing changes
            break;
    }
}

void MainController::ShowDeviceInfo(DeviceInfoView view) {
    DeviceAreaPort& device = ports_.deviceArea;
    switch (view) {
        case INFO_IDENTITY: {
            const DeviceConfig& config = context_.deviceConfig;
            device.SetVehicleText(WidenLatin1(config.vehicleMake()) + u" " +
                                  WidenLatin1(config.vehicleModel()));
            device.SetFeaturesText(u"");
            device.SetStatusText(Text(texts::kInitializing));
            device.ShowSettingsButton(config.has(CAP_VIDEO_SETTINGS));
            const bool features = config.has(CAP_FEATURES);
            device.ShowFeatureButton(features);
            device.EnableFeatureButton(features);
            break;
        }
        case INFO_SOFTWARE: {
            const SoftwareRecord& record = context_.softwareRecord;
            std::u16string vehicle = device.VehicleText();
            if (vehicle.size() > kVehicleTextReadBack)
                vehicle.resize(kVehicleTextReadBack);
            device.SetVehicleText(vehicle + u" " + record.vehicle_year_from + u"-" + record.vehicle_year_to);
            device.SetFeaturesText(record.sw_description);
            device.SetStatusText(context_.label_serial);
            ports_.searchArea.EnableSearch(true);
            break;
        }
        case INFO_LOADER:
            device.SetVehicleText(u"");
            device.SetFeaturesText(u"");
            device.SetStatusText(context_.mfg_id);
            device.ShowSettingsButton(false);
            device.ShowFeatureButton(false);
            ports_.searchArea.EnableSearch(true);
            break;
    }
}
