#pragma once
// The controller's window ports for a terminal. The device area and the search panel keep what
// the controller shows so the commands can print it; the progress dialog draws a bar on a
// terminal (plain lines otherwise); questions are answered by --yes/--no, asked on the terminal,
// or refused when there is no terminal. Window thread only, like the windows they stand in for.
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/ports/DeviceAreaPort.h"
#include "app/ports/FeatureResultPort.h"
#include "app/ports/MainTimerPort.h"
#include "app/ports/MessagePort.h"
#include "app/ports/ProgressDialogPort.h"
#include "app/ports/ReplyTimerPort.h"
#include "app/ports/SearchAreaPort.h"
#include "catalogue/MemorySearchPanel.h"

class TerminalDeviceArea final : public DeviceAreaPort, public SearchAreaPort {
  public:
    void SetStatusIcon(StatusIcon value) override { icon = value; }
    void SetVehicleText(const std::u16string& text) override { vehicle = text; }
    std::u16string VehicleText() const override { return vehicle; }
    void SetFeaturesText(const std::u16string& text) override { features = text; }
    void SetStatusText(const std::u16string& text) override { status = text; }
    void ShowSettingsButton(bool) override {}
    void EnableSettingsButton(bool) override {}
    void ShowFeatureButton(bool) override {}
    void EnableFeatureButton(bool) override {}
    void EnableVehicleLists(bool) override {}
    void EnableSearch(bool) override {}

    StatusIcon icon = ICON_USB_DISCONNECTED;
    std::u16string vehicle, features, status;
};

// The lists and the result list without widgets.
using TerminalSearchPanel = MemorySearchPanel;

class TerminalProgress final : public ProgressDialogPort {
  public:
    // bar: draw one self-overwriting bar line (a terminal); otherwise one line per step.
    TerminalProgress(std::ostream& out, bool bar) : out_(out), bar_(bar) {}
    void Show() override;
    void Hide() override;
    void ShowStep(const std::u16string& text, int percent) override;
    void ShowStepText(const std::u16string& text) override;
    void ShowOutcome(bool succeeded) override;

    bool enabled = true;
    std::optional<bool> outcome;
    std::u16string lastStep;

  private:
    void Draw();
    std::ostream& out_;
    bool bar_;
    int percent_ = 0;
    bool drawn_ = false;
};

class TerminalFeatureResults final : public FeatureResultPort {
  public:
    struct Result {
        std::u16string text;
        bool failed = false;
    };
    void ShowFeatureReadResult(const std::u16string& text, bool failed) override {
        read = Result{text, failed};
    }
    void ShowFeatureWriteResult(const std::u16string& text, bool failed) override {
        write = Result{text, failed};
    }
    std::optional<Result> read, write;
};

// How questions are answered.
enum class AnswerPolicy { Ask, Yes, No };

class TerminalMessages final : public MessagePort {
  public:
    // readLine reads one answer line from the terminal; nothing at end of input.
    // Information goes to out, warnings, errors and questions to err.
    TerminalMessages(std::ostream& out, std::ostream& err, AnswerPolicy policy, bool interactive,
                     std::function<std::optional<std::string>()> readLine)
        : out_(out), err_(err), policy_(policy), interactive_(interactive), readLine_(std::move(readLine)) {}
    MessageAnswer Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) override;

    // Every text shown, in order.
    std::vector<std::u16string> shown;
    // A question was refused for want of a terminal and an answer option.
    bool refused = false;

  private:
    std::ostream& out_;
    std::ostream& err_;
    AnswerPolicy policy_;
    bool interactive_;
    std::function<std::optional<std::string>()> readLine_;
};

// Both timers as flags; the loop ticks them.
class TerminalTimers final : public MainTimerPort, public ReplyTimerPort {
  public:
    void Stop() override { mainRunning = false; }
    void Restart() override { mainRunning = true; }
    void Start() override { replyRunning = true; }
    bool mainRunning = false;
    bool replyRunning = false;
};
