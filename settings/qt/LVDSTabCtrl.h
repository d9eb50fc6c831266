#pragma once
// The LVDS settings host (template 107, "Settings"): the LVDS camera page and the overlay page.
// It keeps the model code of the interface it was opened for and hands it to the camera page
// before every fill.
#include <memory>
#include <string>

#include "settings/qt/SettingsTabHost.h"

namespace Ui {
class LVDSTabCtrl;
}
class CLVDSSettingDlg;

class LVDSTabCtrl : public SettingsTabHost {
    Q_OBJECT

  public:
    LVDSTabCtrl(const SettingsServices& services, QWidget* parent);
    ~LVDSTabCtrl() override;

    void SetModelCode(const std::u16string& modelCode) { modelCode_ = modelCode; }
    const std::u16string& ModelCode() const { return modelCode_; }
    CLVDSSettingDlg* VideoPage() const { return videoPage_; }

  protected:
    void FillVideoPage() override;
    SettingsOutcome ApplyVideoPage() override;

  private:
    std::unique_ptr<Ui::LVDSTabCtrl> ui_;
    CLVDSSettingDlg* videoPage_ = nullptr;
    std::u16string modelCode_;
};
