#include "settings/win32/RefusalMessage.h"

#include <string>

#include "app/ports/MessagePort.h"

bool ShowRefusal(const SettingsServices& services, const SettingsOutcome& outcome) {
    if (!outcome.Refused())
        return false;
    if (services.messages != nullptr)
        services.messages->Show(std::u16string(outcome.refusal), MessageIcon::Warning, MessageButtons::Ok);
    return true;
}
