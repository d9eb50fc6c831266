#pragma once
// The main window (template 102): the device area with the USB status icon, the status and
// vehicle fields and the Settings and Feature Activation buttons; the search area with the
// vehicle lists, the result list and Install. It owns the program's timers and modeless dialogs,
// routes its commands to the program and shows what the controller decides through the device-
// and search-area ports. Everything runs on the window thread.
#include <QDialog>
#include <memory>

#include "app/ports/DeviceAreaPort.h"
#include "app/ports/MessagePort.h"
#include "app/ports/SearchAreaPort.h"

namespace Ui {
class MainWindow;
}
class CInstallDlg;
class KeyFilter;
class SearchPanelWidgets;
class StatusTooltip;
class WindowCommands;
class WindowTimers;
class QtMessageBoxes;
class SettingsWindows;

class CKioDlg : public QDialog, public DeviceAreaPort, public SearchAreaPort {
    Q_OBJECT
  public:
    // Creates the window and its modeless dialogs, all hidden (the initialisation of the window
    // before the program is started on it).
    explicit CKioDlg(QWidget* parent = nullptr);
    ~CKioDlg() override;

    // The ports the program is built on.
    SearchPanelWidgets& SearchPanel() { return *searchPanel_; }
    CInstallDlg& InstallDialog() { return *installDlg_; }
    WindowTimers& Timers() { return *timers_; }
    // The settings windows and the features dialog, created hidden with the window.
    SettingsWindows& Settings() { return *settings_; }
    MessagePort& Messages();
    // Where the window's own messages go (the identity message); the Qt boxes by default.
    void SetMessagePort(MessagePort& messages) { messages_ = &messages; }

    // Hands the window's handlers to the program; nullptr unbinds them.
    void Bind(WindowCommands* commands);
    // The window's destruction handling: stops the timers and closes the link. Runs once.
    void Teardown();
    // Closes the window with the OK result (the program ends).
    void CloseWithOk();

    // The address behind the About box's link.
    void SetMakerWebAddress(const QString& address) { makerWebAddress_ = address; }
    // The About entry (system-menu command 16).
    void OnSysCommand(int command);

    // DeviceAreaPort.
    void SetStatusIcon(StatusIcon icon) override;
    void SetVehicleText(const std::u16string& text) override;
    std::u16string VehicleText() const override;
    void SetFeaturesText(const std::u16string& text) override;
    void SetStatusText(const std::u16string& text) override;
    void ShowSettingsButton(bool shown) override;
    void EnableSettingsButton(bool enabled) override;
    void ShowFeatureButton(bool shown) override;
    void EnableFeatureButton(bool enabled) override;

    // SearchAreaPort.
    void EnableVehicleLists(bool enabled) override;
    void EnableSearch(bool enabled) override;

    // The icon number the USB status icon shows now.
    int StatusIconNumber() const { return statusIcon_; }
    StatusTooltip& Tooltip() { return *tooltip_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetUpTexts();
    void SetUpAboutEntry();
    void SetUpChildren();
    void CreateSettingsDialogs();
    void ConnectHandlers();
    void ShowIdentityMessage();
    void ResultClicked(int row);

    std::unique_ptr<Ui::MainWindow> ui_;
    std::unique_ptr<SearchPanelWidgets> searchPanel_;
    std::unique_ptr<QtMessageBoxes> messagePort_;
    MessagePort* messages_ = nullptr;
    CInstallDlg* installDlg_ = nullptr;
    std::unique_ptr<SettingsWindows> settings_;
    WindowTimers* timers_ = nullptr;
    StatusTooltip* tooltip_ = nullptr;
    KeyFilter* keyFilter_ = nullptr;
    WindowCommands* commands_ = nullptr;
    QString makerWebAddress_;
    int statusIcon_ = 0;
    bool tornDown_ = false;
};
