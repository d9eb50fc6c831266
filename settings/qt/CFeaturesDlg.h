#pragma once
// The features dialog (template 162): names the interface's three feature inputs with the
// catalogue's labels, offers those the feature byte marks, and hands the choice to the controller
// (featureWriteRequest), which reports back through ShowFeatureReadResult and
// ShowFeatureWriteResult. Every showing runs the label query and resets the view. It never talks
// to the interface itself. Created once, hidden and modeless. Window thread only.
#include <QDialog>
#include <memory>

#include "app/ports/FeatureResultPort.h"
#include "settings/FeatureDialogLogic.h"
#include "settings/SettingsServices.h"

namespace Ui {
class CFeaturesDlg;
}
class QShowEvent;

class CFeaturesDlg : public QDialog, public FeatureResultPort {
    Q_OBJECT

  public:
    CFeaturesDlg(const SettingsServices& services, QWidget* parent);
    ~CFeaturesDlg() override;

    // FeatureResultPort.
    void ShowFeatureReadResult(const std::u16string& text, bool failed) override;
    void ShowFeatureWriteResult(const std::u16string& text, bool failed) override;

    // The state icon's number (131, 144 or 145).
    int IconNumber() const { return view_.icon; }
    const FeatureLabelTable& Labels() const { return labels_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void QueryLabels();
    void ShowView();
    void OnInputClicked(int box);
    void OnTurnOffClicked();
    void OnAccept();

    const SettingsServices& services_;
    std::unique_ptr<Ui::CFeaturesDlg> ui_;
    FeatureLabelTable labels_;
    FeatureView view_;
    int shownIcon_ = 0;
};
