#pragma once
// The HDMI camera page (template 163), tab 0 of the HDMI host: aftermarket cameras, the factory
// rear camera, the HDMI input, the front camera mode, sync options and parking lines. Filled by
// the host when shown, applied on its Accept; the radio selection lives in the page, the ticks in
// the boxes. Window thread only.
#include <QWidget>
#include <memory>

#include "settings/CameraPages.h"
#include "settings/qt/ControlBinding.h"
#include "settings/SettingsServices.h"

namespace Ui {
class CHDMIV2SettingsDlg;
}

class CHDMIV2SettingsDlg : public QWidget {
    Q_OBJECT

  public:
    CHDMIV2SettingsDlg(const SettingsServices& services, QWidget* parent);
    ~CHDMIV2SettingsDlg() override;

    void Fill();
    // Refused (nothing stored) while an install runs.
    SettingsOutcome Apply();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    HdmiPageControls ReadControls() const;
    void ShowControls(const HdmiPageControls& controls);

    const SettingsServices& services_;
    std::unique_ptr<Ui::CHDMIV2SettingsDlg> ui_;
    RadioGroupState groupA_;
    RadioGroup groupAButtons_;
};
