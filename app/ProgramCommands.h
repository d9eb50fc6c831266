#pragma once
// The main window's handlers bound to the program and to the settings windows, for both desktop
// programs.
#include "app/WindowCommands.h"

class UpdaterProgram;
class SettingsEntry;

class ProgramCommands final : public WindowCommands {
  public:
    ProgramCommands(UpdaterProgram& program, SettingsEntry* settings)
        : program_(program), settings_(settings) {}

    void OnTimer(int timerId) override;
    void DeliverDeviceChanges() override;
    void OnSearch() override;
    void OnMakeSelected() override;
    void OnResultClicked(int row) override;
    void OnInstall() override;
    void OnFeatureActivation() override;
    void OnSettings() override;
    std::u16string IdentitySummary() override;
    void OnWindowDestroyed() override;

  private:
    UpdaterProgram& program_;
    SettingsEntry* settings_;
};
