#pragma once
// How the main window opens the settings windows and the features dialog, whichever toolkit
// draws them (settings/qt, settings/win32). Window thread only.
#include "settings/SettingsChoice.h"

class SettingsEntry {
  public:
    virtual ~SettingsEntry() = default;
    // The Settings button: shows the window the interface's model code picks (SettingsWindow::None
    // for an unknown model code, or while an install runs).
    virtual SettingsWindow OnSettingsButton() = 0;
    // The Feature Activation button: reads the feature byte and opens the features dialog.
    virtual void OnFeatureActivation() = 0;
};
