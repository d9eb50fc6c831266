#pragma once
// Headless stand-ins for the windows and the machine the controller drives. Each records what it
// was told, so tests can check the texts, bar positions, icons and control states; questions are
// answered as the test says. Window thread only, like the real ports.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/ports/DeviceAreaPort.h"
#include "app/ports/FeatureResultPort.h"
#include "app/ports/MainTimerPort.h"
#include "app/ports/MessagePort.h"
#include "app/ports/ProgressDialogPort.h"
#include "app/ports/ReplyTimerPort.h"
#include "app/ports/SearchAreaPort.h"
#include "app/ports/SystemPort.h"

class FakeDeviceAreaPort final : public DeviceAreaPort {
  public:
    void SetStatusIcon(StatusIcon value) override { icon = value; }
    void SetVehicleText(const std::u16string& text) override { vehicleText = text; }
    std::u16string VehicleText() const override { return vehicleText; }
    void SetFeaturesText(const std::u16string& text) override { featuresText = text; }
    void SetStatusText(const std::u16string& text) override { statusText = text; }
    void ShowSettingsButton(bool shown) override { settingsShown = shown; }
    void EnableSettingsButton(bool enabled) override { settingsEnabled = enabled; }
    void ShowFeatureButton(bool shown) override { featureShown = shown; }
    void EnableFeatureButton(bool enabled) override { featureEnabled = enabled; }

    StatusIcon icon = ICON_USB_DISCONNECTED;
    std::u16string vehicleText, featuresText, statusText;
    bool settingsShown = false, settingsEnabled = true;
    bool featureShown = false, featureEnabled = true;
};

class FakeSearchAreaPort final : public SearchAreaPort {
  public:
    void EnableVehicleLists(bool enabled) override { listsEnabled = enabled; }
    void EnableSearch(bool enabled) override { searchEnabled = enabled; }

    bool listsEnabled = false, searchEnabled = false;
};

// Every call in order, and the dialog as it looks now.
class FakeProgressDialogPort final : public ProgressDialogPort {
  public:
    enum class Call { Show, Hide, Step, StepText, Outcome };
    struct Entry {
        Call call;
        std::u16string text;
        int percent = -1;
        bool succeeded = false;
    };

    void Show() override {
        Record({Call::Show, {}, -1, false});
        visible = true;
        Reset();
    }
    void Hide() override {
        Record({Call::Hide, {}, -1, false});
        visible = false;
        Reset();
    }
    void ShowStep(const std::u16string& value, int value2) override {
        Record({Call::Step, value, value2, false});
        text = value;
        percent = value2;
    }
    void ShowStepText(const std::u16string& value) override {
        Record({Call::StepText, value, -1, false});
        text = value;
    }
    void ShowOutcome(bool value) override {
        Record({Call::Outcome, {}, -1, value});
        finished = true;
        succeeded = value;
    }

    // The step texts with their bar positions, in order (ShowStep only).
    std::vector<std::pair<std::u16string, int>> Steps() const;
    // The texts set by ShowStepText, in order.
    std::vector<std::u16string> StepTexts() const;
    int OutcomeCount() const;

    std::vector<Entry> log;
    bool visible = false;
    std::u16string text = u"Starting update";
    int percent = 0;
    bool finished = false;  // Close enabled, icon and title of an outcome
    bool succeeded = false;

  private:
    void Record(Entry entry) { log.push_back(std::move(entry)); }
    void Reset() {
        percent = 0;
        finished = false;
        succeeded = false;
    }
};

class FakeFeatureResultPort final : public FeatureResultPort {
  public:
    struct Result {
        bool write;
        std::u16string text;
        bool failed;
    };
    void ShowFeatureReadResult(const std::u16string& text, bool failed) override {
        results.push_back({false, text, failed});
    }
    void ShowFeatureWriteResult(const std::u16string& text, bool failed) override {
        results.push_back({true, text, failed});
    }
    std::vector<Result> results;
};

// Answers Yes/No questions from a queue (then the default); records every message.
class FakeMessagePort final : public MessagePort {
  public:
    struct Message {
        std::u16string text;
        MessageIcon icon;
        MessageButtons buttons;
    };
    MessageAnswer Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) override;

    std::vector<Message> shown;
    std::deque<MessageAnswer> answers;
    MessageAnswer defaultAnswer = MessageAnswer::No;
    // Runs while a message is open, as a modal box's message loop would run ticks.
    std::function<void()> whileOpen;
    int Count(const std::u16string& text) const;
};

class FakeMainTimerPort final : public MainTimerPort {
  public:
    void Stop() override {
        running = false;
        ++stops;
    }
    void Restart() override {
        running = true;
        ++restarts;
    }
    bool running = false;
    int stops = 0, restarts = 0;
};

class FakeReplyTimerPort final : public ReplyTimerPort {
  public:
    void Start() override {
        running = true;
        ++starts;
    }
    bool running = false;
    int starts = 0;
};

class FakeSystemPort final : public SystemPort {
  public:
    std::u16string CurrentDirectory() override { return directory; }
    bool IsInternetConnected() override { return internet; }
    int RunConnectorInstaller(const std::u16string& path) override;
    void CloseMainWindow() override { closed = true; }

    std::u16string directory = u"/opt/telvix";
    bool internet = true;
    std::deque<int> installerExitCodes;  // then 0
    std::vector<std::u16string> installerRuns;
    std::function<void()> onInstall;  // e.g. registers the driver
    bool closed = false;
};
