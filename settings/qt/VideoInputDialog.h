#pragma once
// The common body of the two video-input dialogs, "Device video settings" (CSettingsDlg, 146) and
// "Device Settings" (CHDMISettingsDlg, 149): created once, hidden and modeless; every showing fills
// the controls from the working copy, Accept stores them and asks for the configuration write,
// Cancel (and Escape, and the close box) only hides the window. Window thread only.
#include <QDialog>
#include <array>

#include "settings/VideoInputSettings.h"
#include "settings/SettingsServices.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QShowEvent;

class VideoInputDialog : public QDialog {
    Q_OBJECT

  public:
    // The controls as the dialog's layout created them; inputs past InputCount() are null.
    struct Widgets {
        std::array<QComboBox*, 4> inputs{};
        QComboBox* syncPolarity = nullptr;
        QCheckBox* parkingLines = nullptr;
        QCheckBox* videoInMotion = nullptr;
        QCheckBox* syncOnGreen = nullptr;
        QPushButton* accept = nullptr;
        QPushButton* cancel = nullptr;
    };

  protected:
    VideoInputDialog(const SettingsServices& services, VideoDialog kind, QWidget* parent);
    void Bind(const Widgets& widgets);
    void showEvent(QShowEvent* event) override;

  private:
    VideoInputControls ReadControls() const;
    void ShowControls(const VideoInputControls& controls);
    void Fill();
    void OnAccept();

    const SettingsServices& services_;
    VideoDialog kind_;
    Widgets widgets_;
};
