#pragma once
// The text-overlay page (template 108), tab 1 of both tabbed hosts, so it exists twice; both
// edit the one overlay block of the shared context. It fills only when its host asks (after an
// overlay block has arrived) and applies on the host's Accept. Window thread only.
#include <QWidget>
#include <memory>

#include "settings/OverlayPage.h"
#include "settings/SettingsServices.h"

namespace Ui {
class OSDSettingsDlg;
}

class OSDSettingsDlg : public QWidget {
    Q_OBJECT

  public:
    OSDSettingsDlg(const SettingsServices& services, QWidget* parent);
    ~OSDSettingsDlg() override;

    void Fill();
    // Refused (nothing stored) while an install runs.
    SettingsOutcome Apply();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    OverlayPageControls ReadControls() const;
    void ShowControls(const OverlayPageControls& controls);

    const SettingsServices& services_;
    std::unique_ptr<Ui::OSDSettingsDlg> ui_;
};
