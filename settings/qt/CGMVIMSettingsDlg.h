#pragma once
// "Device Settings" (template 150) of the QH7720R and QH772ER: one switch per camera input and
// one for video in motion. Created once, hidden and modeless; every showing fills it from the
// working copy, Accept stores the five ticks and asks for the configuration write, Cancel only
// hides it. Window thread only.
#include <QDialog>
#include <memory>

#include "settings/VimSettings.h"
#include "settings/SettingsServices.h"

namespace Ui {
class CGMVIMSettingsDlg;
}
class QShowEvent;

class CGMVIMSettingsDlg : public QDialog {
    Q_OBJECT

  public:
    CGMVIMSettingsDlg(const SettingsServices& services, QWidget* parent);
    ~CGMVIMSettingsDlg() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    VimControls ReadControls() const;
    void ShowControls(const VimControls& controls);
    void Fill();
    void OnAccept();

    const SettingsServices& services_;
    std::unique_ptr<Ui::CGMVIMSettingsDlg> ui_;
};
