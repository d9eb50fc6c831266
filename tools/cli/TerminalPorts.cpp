#include "tools/cli/TerminalPorts.h"

#include <algorithm>
#include <ostream>

#include "platform/Text.h"

namespace {
// Message boxes are multi-line with leading blanks; a terminal wants one clean paragraph.
std::string Flattened(const std::u16string& text) {
    std::string out;
    bool blank = false;
    for (char c : ToUtf8(text)) {
        if (c == '\n' || c == ' ') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

constexpr int kBarWidth = 30;
}  // namespace

void TerminalProgress::Show() {
    percent_ = 0;
    outcome.reset();
}

void TerminalProgress::Hide() {
    if (enabled && bar_ && drawn_)
        out_ << "\n";
    drawn_ = false;
}

void TerminalProgress::ShowStep(const std::u16string& text, int percent) {
    percent_ = std::clamp(percent, 0, 100);
    lastStep = text;
    Draw();
}

void TerminalProgress::ShowStepText(const std::u16string& text) {
    lastStep = text;
    Draw();
}

void TerminalProgress::ShowOutcome(bool succeeded) {
    outcome = succeeded;
    if (!enabled)
        return;
    if (bar_ && drawn_)
        out_ << "\n";
    drawn_ = false;
    out_ << (succeeded ? "Successfully finished" : "Aborted") << "\n" << std::flush;
}

void TerminalProgress::Draw() {
    if (!enabled)
        return;
    const std::string step = ToUtf8(lastStep);
    if (!bar_) {
        out_ << "[" << percent_ << "%] " << step << "\n" << std::flush;
        return;
    }
    const int filled = percent_ * kBarWidth / 100;
    // \r and clear-to-end-of-line: the bar redraws in place.
    out_ << "\r\033[K[" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] " << percent_ << "% " << step
         << std::flush;
    drawn_ = true;
}

MessageAnswer TerminalMessages::Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) {
    shown.push_back(text);
    const std::string line = Flattened(text);
    if (buttons == MessageButtons::Ok) {
        if (icon == MessageIcon::Error || icon == MessageIcon::Warning) {
            err_ << (icon == MessageIcon::Error ? "error: " : "warning: ") << line << "\n" << std::flush;
        } else {
            out_ << line << "\n" << std::flush;
        }
        return MessageAnswer::Ok;
    }
    if (policy_ != AnswerPolicy::Ask) {
        const bool yes = policy_ == AnswerPolicy::Yes;
        err_ << line << " [" << (yes ? "yes" : "no") << "]\n" << std::flush;
        return yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (!interactive_) {
        refused = true;
        err_ << line << "\nerror: this question needs an answer; no terminal to ask on: give --yes or --no\n"
             << std::flush;
        return MessageAnswer::No;
    }
    for (;;) {
        err_ << line << " [y/n] " << std::flush;
        const std::optional<std::string> answer = readLine_();
        if (!answer) {
            refused = true;
            err_ << "\nerror: no answer given (end of input): give --yes or --no\n" << std::flush;
            return MessageAnswer::No;
        }
        if (*answer == "y" || *answer == "Y" || *answer == "yes")
            return MessageAnswer::Yes;
        if (*answer == "n" || *answer == "N" || *answer == "no")
            return MessageAnswer::No;
    }
}
