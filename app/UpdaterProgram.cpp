#include "app/UpdaterProgram.h"

#include <deque>
#include <mutex>

#include "app/ControllerTexts.h"
#include "app/DiagnosticsWatch.h"
#include "app/LinkedOperations.h"
#include "app/LoggedProgressDialog.h"
#include "app/MainController.h"
#include "app/UpdaterContext.h"
#include "app/ports/ReplyTimerPort.h"
#include "catalogue/CatalogueChecks.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/CatalogueLookups.h"
#include "catalogue/DatabaseWorker.h"
#include "catalogue/InstallJournal.h"
#include "catalogue/PendingRecordRetry.h"
#include "catalogue/VehicleSearch.h"
#include "config/ConfigCodecs.h"
#include "link/CommandSet.h"
#include "link/DeviceLink.h"
#include "link/FlashEngine.h"
#include "link/LinkWindow.h"
#include "retrieval/FtpWorker.h"
#include "settings/SettingsRequests.h"

// The parts in the order they depend on each other; destroyed in reverse, so the engine, the
// channel threads and the database worker end before the context they write goes away.
struct UpdaterProgram::Parts final : LinkWindow {
    explicit Parts(const UpdaterAdapters& a);

    // Notifications arrive on the notifier's thread: queue them for the window thread.
    void PostDeviceChange(const DeviceChange& change) override;
    void StartReplyTimer() override { adapters.replyTimer.Start(); }

    UpdaterAdapters adapters;
    UpdaterContext context;
    CatalogueDb catalogue;
    InstallJournal journal;
    PendingRecordRetry recordRetry;
    DeviceLink link;
    CommandSet commands;
    FlashEngine engine;
    DatabaseWorker databaseWorker;
    VehicleSearch search;
    LinkedOperations operations;
    LoggedProgressDialog progress;
    MainController controller;
    DiagnosticsWatch watch;

    std::mutex queueMutex;
    std::deque<DeviceChange> queuedChanges;
};

UpdaterProgram::Parts::Parts(const UpdaterAdapters& a)
    : adapters(a),
      catalogue(a.endpoints, a.diagnostics),
      journal(a.installJournal, a.diagnostics),
      recordRetry(journal, catalogue, a.diagnostics),
      link(context, a.bus, a.notifications, a.volumes, a.clock),
      commands(context),
      engine(context, FlashEnginePort{[this](const HidReport& report) { return link.WriteReport(report); },
                                      [this] { link.StopReader(); }, [this] { link.StopWriter(); }}),
      databaseWorker(context, catalogue, a.clock,
                     DatabaseWorkerHooks{&journal, a.diagnostics, [this] { recordRetry.Request(); }}),
      search(context, a.searchPanel, catalogue, a.messages, a.clock,
             [this] { return link.FindUpdateVolume(); }),
      operations(
          {context, link, *this, commands, catalogue, databaseWorker, search, a.searchPanel, &journal}),
      progress(a.progress, a.diagnostics),
      controller(context,
                 {a.deviceArea, a.searchArea, a.searchPanel, progress, a.features, a.messages, a.mainTimer,
                  a.system},
                 operations),
      watch(context, a.diagnostics) {
    context.endpoints = a.endpoints;
    CommandHooks& hooks = commands.Hooks();
    hooks.signalSend = [this] { link.SignalSend(); };
    hooks.startFlashEngine = [this] { engine.Start(); };
    InstallFtpWorker(commands, context);
    link.SetHasHidBootloader(
        [this](const std::u16string& mfgId) { return HasHidBootloader(mfgId, catalogue); });
    link.SetShowLinkStatus([this] { controller.ShowLinkStatus(); });
    link.SetProbeSender([this] { commands.IssueCommand(CMD_TYPE_CONNECT_PROBE, 1, CMD_DIR_REQUEST); });
    link.SetEndFlashRun([this] {
        engine.Cancel();
        engine.Join();
    });
}

void UpdaterProgram::Parts::PostDeviceChange(const DeviceChange& change) {
    {
        std::lock_guard lock(queueMutex);
        queuedChanges.push_back(change);
    }
    if (adapters.deviceChangeQueued)
        adapters.deviceChangeQueued();
}

UpdaterProgram::UpdaterProgram(const UpdaterAdapters& adapters) : parts_(std::make_unique<Parts>(adapters)) {}

UpdaterProgram::~UpdaterProgram() {
    Shutdown();
}

void UpdaterProgram::Start() {
    UpdaterContext& ctx = parts_->context;
    parts_->watch.ProgramStarted(kUpdaterVersion);
    ctx.mainState = MS_START;
    ctx.replyStatus = REPLY_PENDING;
    ctx.messageShown = false;
    ctx.linkOpen = false;
    ctx.bootProbeActive = false;
    parts_->adapters.deviceArea.SetStatusIcon(ICON_USB_DISCONNECTED);
    parts_->adapters.deviceArea.SetStatusText(std::u16string(texts::kDeviceDisconnected));
    // The timer is set before the version check, so ticks may run while its message is open.
    parts_->controller.RestartMainTimer();
    parts_->recordRetry.Request();
    CheckUpdaterVersion(parts_->catalogue, ctx.endpoints.makerWebAddress, parts_->adapters.messages);
}

void UpdaterProgram::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    parts_->link.Teardown();
}

void UpdaterProgram::OnTimer(int timerId) {
    if (timerId == MAIN_TIMER_ID) {
        parts_->controller.RunMainState();
    } else if (timerId == REPLY_TIMER_ID) {
        parts_->commands.DecodeReplies();
    }
    parts_->watch.Observe();
}

void UpdaterProgram::DeliverDeviceChanges() {
    for (;;) {
        DeviceChange change;
        {
            std::lock_guard lock(parts_->queueMutex);
            if (parts_->queuedChanges.empty())
                return;
            change = std::move(parts_->queuedChanges.front());
            parts_->queuedChanges.pop_front();
        }
        OnDeviceChange(change);
    }
}

void UpdaterProgram::OnDeviceChange(const DeviceChange& change) {
    parts_->link.OnDeviceChange(change);
}

void UpdaterProgram::OnInstall() {
    parts_->controller.OnInstall();
}

bool UpdaterProgram::OnFeatureActivation() {
    const SettingsOutcome outcome = StartFeatureActivation(parts_->context);
    if (outcome.Refused()) {
        parts_->adapters.messages.Show(std::u16string(outcome.refusal), MessageIcon::Warning,
                                       MessageButtons::Ok);
    }
    return !outcome.Refused();
}

void UpdaterProgram::OnSearch() {
    parts_->search.RunSearch();
}

void UpdaterProgram::OnMakeSelected() {
    parts_->search.FillModelList();
}

void UpdaterProgram::OnResultClicked(int row) {
    parts_->search.SelectResultRow(row);
}

void UpdaterProgram::RequestOverlayRead() {
    parts_->commands.IssueCommand(CMD_TYPE_OVERLAY, 1, CMD_DIR_REQUEST);
}

std::u16string UpdaterProgram::IdentitySummary() const {
    return FormatIdentitySummary(parts_->context);
}

UpdaterContext& UpdaterProgram::Context() {
    return parts_->context;
}

MainController& UpdaterProgram::Controller() {
    return parts_->controller;
}
