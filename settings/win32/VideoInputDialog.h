#pragma once
// The common body of the two video-input dialogs, "Device video settings" (template 146) and
// "Device Settings" (template 149): created once, hidden and modeless; every showing fills it from
// the working copy, Accept stores the controls and asks for the configuration write (refused, the
// dialog staying open as it was, while an install runs), Cancel only hides it. Window thread only.
#include "settings/SettingsServices.h"
#include "settings/VideoInputSettings.h"
#include "settings/win32/DialogWindow.h"

class VideoInputDialog : public DialogWindow {
  protected:
    VideoInputDialog(const SettingsServices& services, VideoDialog kind, HINSTANCE instance, int templateId,
                     HWND owner);

    void OnShowing() override;
    bool OnCommand(int id, int code) override;

  private:
    VideoInputControls ReadControls() const;
    void ShowControls(const VideoInputControls& controls);
    void Fill();
    void OnAccept();

    const SettingsServices& services_;
    VideoDialog kind_;
};
