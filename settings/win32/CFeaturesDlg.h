#pragma once
// The features dialog (template 162): names the interface's three feature inputs with the
// catalogue's labels, offers those the feature byte marks, and hands the choice to the controller
// (featureWriteRequest), which reports back through ShowFeatureReadResult and
// ShowFeatureWriteResult. Every showing runs the label query and resets the view. It never talks
// to the interface itself. Created once, hidden and modeless. Window thread only.
//
// The state icons are the program's icon resources 131, 144 and 145; a program built without them
// shows the system's information and error icons instead.
#include "app/ports/FeatureResultPort.h"
#include "settings/FeatureDialogLogic.h"
#include "settings/SettingsServices.h"
#include "settings/win32/DialogWindow.h"

class CFeaturesDlg : public DialogWindow, public FeatureResultPort {
  public:
    CFeaturesDlg(const SettingsServices& services, HINSTANCE instance, HWND owner);

    // FeatureResultPort.
    void ShowFeatureReadResult(const std::u16string& text, bool failed) override;
    void ShowFeatureWriteResult(const std::u16string& text, bool failed) override;

    // The state icon's number (131, 144 or 145).
    int IconNumber() const { return view_.icon; }
    const FeatureLabelTable& Labels() const { return labels_; }

  protected:
    void OnShowing() override;
    bool OnCommand(int id, int code) override;

  private:
    void QueryLabels();
    void ShowView();
    void ShowIcon(int icon);
    void OnAccept();

    const SettingsServices& services_;
    HINSTANCE instance_;
    FeatureLabelTable labels_;
    FeatureView view_;
    int shownIcon_ = 0;
};
