#include "app/ProgramCommands.h"

#include "app/UpdaterProgram.h"
#include "settings/SettingsEntry.h"

void ProgramCommands::OnTimer(int timerId) {
    program_.OnTimer(timerId);
}

void ProgramCommands::DeliverDeviceChanges() {
    program_.DeliverDeviceChanges();
}

void ProgramCommands::OnSearch() {
    program_.OnSearch();
}

void ProgramCommands::OnMakeSelected() {
    program_.OnMakeSelected();
}

void ProgramCommands::OnResultClicked(int row) {
    program_.OnResultClicked(row);
}

void ProgramCommands::OnInstall() {
    program_.OnInstall();
}

void ProgramCommands::OnFeatureActivation() {
    if (program_.OnFeatureActivation() && settings_ != nullptr) {
        settings_->OnFeatureActivation();  // shows the features dialog
    }
}

void ProgramCommands::OnSettings() {
    if (settings_ != nullptr) {
        settings_->OnSettingsButton();
    }
}

std::u16string ProgramCommands::IdentitySummary() {
    return program_.IdentitySummary();
}

void ProgramCommands::OnWindowDestroyed() {
    program_.Shutdown();
}
