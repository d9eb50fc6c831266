#include "tests/support/FakeControllerPorts.h"

std::vector<std::pair<std::u16string, int>> FakeProgressDialogPort::Steps() const {
    std::vector<std::pair<std::u16string, int>> steps;
    for (const Entry& entry : log) {
        if (entry.call == Call::Step)
            steps.emplace_back(entry.text, entry.percent);
    }
    return steps;
}

std::vector<std::u16string> FakeProgressDialogPort::StepTexts() const {
    std::vector<std::u16string> texts;
    for (const Entry& entry : log) {
        if (entry.call == Call::StepText)
            texts.push_back(entry.text);
    }
    return texts;
}

int FakeProgressDialogPort::OutcomeCount() const {
    int count = 0;
    for (const Entry& entry : log)
        count += entry.call == Call::Outcome ? 1 : 0;
    return count;
}

MessageAnswer FakeMessagePort::Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) {
    shown.push_back({text, icon, buttons});
    if (whileOpen)
        whileOpen();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (answers.empty())
        return defaultAnswer;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

int FakeMessagePort::Count(const std::u16string& text) const {
    int count = 0;
    for (const Message& message : shown)
        count += message.text == text ? 1 : 0;
    return count;
}

int FakeSystemPort::RunConnectorInstaller(const std::u16string& path) {
    installerRuns.push_back(path);
    if (onInstall)
        onInstall();
    if (installerExitCodes.empty())
        return 0;
    const int code = installerExitCodes.front();
    installerExitCodes.pop_front();
    return code;
}
