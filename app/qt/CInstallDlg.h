#pragma once
// The install progress dialog (template 130): created hidden with the main window and kept for
// every install. It has no close box; Close hides it. Every show and hide resets the state icon,
// the title, the bar and Close, but keeps the step text.
#include <QDialog>
#include <memory>

#include "app/ports/ProgressDialogPort.h"

namespace Ui {
class InstallProgressDialog;
}
class KeyFilter;

class CInstallDlg : public QDialog, public ProgressDialogPort {
    Q_OBJECT
  public:
    explicit CInstallDlg(QWidget* parent);
    ~CInstallDlg() override;

    // ProgressDialogPort.
    void Show() override;
    void Hide() override;
    void ShowStep(const std::u16string& text, int percent) override;
    void ShowStepText(const std::u16string& text) override;
    void ShowOutcome(bool succeeded) override;

    // The number of the icon now shown (131, 144 or 145).
    int StateIcon() const { return stateIcon_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Reset();
    void SetStateIcon(int id);

    std::unique_ptr<Ui::InstallProgressDialog> ui_;
    KeyFilter* keyFilter_;
    int stateIcon_ = 0;
};
