#pragma once
// What the settings windows and the features dialog need from the program. The windows are
// created with the main window, before the program that owns the shared context exists, so these
// are bound afterwards (SettingsWindows::Bind); until then fills and accepts do nothing.
// Window thread only.
#include <functional>
#include <string>

#include "catalogue/FeatureLabels.h"

class MessagePort;
struct UpdaterContext;

struct SettingsServices {
    UpdaterContext* context = nullptr;
    // "OSD Settings Not Supported" and any other box of the settings windows.
    MessagePort* messages = nullptr;
    // Sends read-overlay (0x65) through the command dispatcher, which refuses it unless the
    // interface is in application mode.
    std::function<void()> requestOverlayRead;
    // The labels of the features dialog; without one the boxes keep the labels they have.
    FeatureLabelSource* labels = nullptr;

    bool Bound() const { return context != nullptr; }
};
