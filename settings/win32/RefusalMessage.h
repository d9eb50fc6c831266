#pragma once
// Tells the user why a settings or feature request was refused, in a warning box with an OK
// button. Window thread only.
#include "settings/SettingsRequests.h"
#include "settings/SettingsServices.h"

// True when outcome was a refusal (and its text has been shown).
bool ShowRefusal(const SettingsServices& services, const SettingsOutcome& outcome);
