#pragma once
// "Device Settings" (template 149): two video inputs, parking lines, video in motion and sync, for
// the TN7581R and TN7580R.
#include <memory>

#include "settings/qt/VideoInputDialog.h"

namespace Ui {
class CHDMISettingsDlg;
}

class CHDMISettingsDlg : public VideoInputDialog {
    Q_OBJECT

  public:
    CHDMISettingsDlg(const SettingsServices& services, QWidget* parent);
    ~CHDMISettingsDlg() override;

  private:
    std::unique_ptr<Ui::CHDMISettingsDlg> ui_;
};
