#pragma once
// The device area of the main window as the controller drives it: the USB status icon, the three
// read-only fields and the Settings and Feature Activation buttons. Called on the window thread only.
#include <string>

// Icon resources of the USB status icon.
enum StatusIcon : int {
    ICON_USB_APPLICATION = 136,   // green USB symbol
    ICON_USB_DISCONNECTED = 137,  // white USB symbol
    ICON_USB_LOADER = 138,        // blue USB symbol: bootloader or update volume
};

class DeviceAreaPort {
  public:
    virtual ~DeviceAreaPort() = default;

    virtual void SetStatusIcon(StatusIcon icon) = 0;
    // The make/model/year field (1020); its present text is read back by the software view.
    virtual void SetVehicleText(const std::u16string& text) = 0;
    virtual std::u16string VehicleText() const = 0;
    // The features field (1021) and the status field (1022).
    virtual void SetFeaturesText(const std::u16string& text) = 0;
    virtual void SetStatusText(const std::u16string& text) = 0;

    virtual void ShowSettingsButton(bool shown) = 0;
    virtual void EnableSettingsButton(bool enabled) = 0;
    virtual void ShowFeatureButton(bool shown) = 0;
    virtual void EnableFeatureButton(bool enabled) = 0;
};
