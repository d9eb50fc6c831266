#pragma once
// "Device video settings" (template 146): four video inputs, parking lines, video in motion and
// sync, for the WE5540R. Its Accept also puts the controller into its idle state.
#include <memory>

#include "settings/qt/VideoInputDialog.h"

namespace Ui {
class CSettingsDlg;
}

class CSettingsDlg : public VideoInputDialog {
    Q_OBJECT

  public:
    CSettingsDlg(const SettingsServices& services, QWidget* parent);
    ~CSettingsDlg() override;

  private:
    std::unique_ptr<Ui::CSettingsDlg> ui_;
};
