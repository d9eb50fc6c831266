#pragma once
// What "Accept" of the single settings dialogs does to the shared context: store the controls
// into the working copy and request the write; the video settings dialog (146) also puts the
// controller back to its idle state. "Cancel" stores nothing and needs no function.
#include "settings/VideoInputSettings.h"
#include "settings/VimSettings.h"

struct UpdaterContext;

void AcceptVideoSettingsDialog(UpdaterContext& ctx, const VideoInputControls& controls, VideoDialog dialog);
void AcceptVimSettingsDialog(UpdaterContext& ctx, const VimControls& controls);
