#pragma once
// The HDMI settings host (template 165, "Settings") of the TN7931R: the HDMI camera page and the
// overlay page.
#include <memory>

#include "settings/qt/SettingsTabHost.h"

namespace Ui {
class CHDMITabDlg;
}
class CHDMIV2SettingsDlg;

class CHDMITabDlg : public SettingsTabHost {
    Q_OBJECT

  public:
    CHDMITabDlg(const SettingsServices& services, QWidget* parent);
    ~CHDMITabDlg() override;

    CHDMIV2SettingsDlg* VideoPage() const { return videoPage_; }

  protected:
    void FillVideoPage() override;
    SettingsOutcome ApplyVideoPage() override;

  private:
    std::unique_ptr<Ui::CHDMITabDlg> ui_;
    CHDMIV2SettingsDlg* videoPage_ = nullptr;
};
