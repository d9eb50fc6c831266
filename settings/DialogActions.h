#pragma once
// What "Accept" of the single settings dialogs does to the shared context: store the controls
// into the working copy and request the write; the video settings dialog (146) also puts the
// controller back to its idle state. While an install runs nothing is stored and the outcome
// carries the refusal to show, the dialog staying open as it was. "Cancel" stores nothing and
// needs no function.
#include "settings/SettingsRequests.h"
#include "settings/VideoInputSettings.h"
#include "settings/VimSettings.h"

struct UpdaterContext;

SettingsOutcome AcceptVideoSettingsDialog(UpdaterContext& ctx, const VideoInputControls& controls,
                                          VideoDialog dialog);
SettingsOutcome AcceptVimSettingsDialog(UpdaterContext& ctx, const VimControls& controls);
