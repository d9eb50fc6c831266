#include "tests/support/LinkRig.h"

#include <thread>

#include "link/FlashImage.h"

LinkRig::LinkRig(const std::string& modelCode, DeviceMode mode)
    : LinkRig([&] {
          LinkRigOptions options;
          options.modelCode = modelCode;
          options.mode = mode;
          return options;
      }()) {}

LinkRig::LinkRig(LinkRigOptions options) : box(bus.PlugInterface(options.modelCode, DeviceMode::Unplugged)) {
    ApplicationOptions firmware = DefaultApplicationOptions(options.modelCode);
    if (options.editFirmware) {
        options.editFirmware(firmware);
    }
    telvix = InstallTelvixFirmware(box, firmware);
    box.SetClock(deviceClock);
    box.Plug(options.mode);
    link = std::make_unique<DeviceLink>(ctx, bus.Hid(), bus.Notifications(), bus.Volumes(), clock);
    DeviceLink* channel = link.get();
    engine = std::make_unique<FlashEngine>(ctx, ChannelPort(*link), options.engine);
    FlashEngine* flashEngine = engine.get();
    CommandHooks hooks;
    hooks.signalSend = [channel] { channel->SignalSend(); };
    hooks.startFlashEngine = [flashEngine] { flashEngine->Start(); };
    commands = std::make_unique<CommandSet>(ctx, hooks);
}

LinkRig::~LinkRig() {
    engine.reset();
    link.reset();
}

bool LinkRig::Connect(bool hidBootloader) {
    link->SetHasHidBootloader([hidBootloader](const std::u16string&) { return hidBootloader; });
    link->ConnectInterface(window);
    return WaitUntil(
        [this] {
            const auto mode = ctx.iUsbConnectSts.load();
            if (mode == USB_BOOTLOADER) {
                return true;
            }
            // In application mode the probe stays active: a later 0x00 could still follow, so wait
            // until the interface has answered before calling it application mode.
            return mode == USB_APPLICATION && box.WaitUntilIdle();
        },
        std::chrono::seconds(20));
}

bool LinkRig::RunEngine() {
    ctx.bootProbeActive.store(false);
    link->StopWriter();
    commands->IssueCommand(0, 1, CMD_DIR_START_ENGINE);
    commands->IssueCommand(CMD_TYPE_ENGINE_PROBE, 1, CMD_DIR_REQUEST);
    const bool done =
        WaitUntil([this] { return ctx.ftpDone.load(std::memory_order_acquire); }, std::chrono::seconds(60));
    engine->Join();
    return done;
}

bool LinkRig::Flash(std::span<const std::uint8_t> image) {
    if (!LoadFlashImage(ctx, image)) {
        return false;
    }
    return RunEngine() && ctx.ftpResult.load() == 0;
}

bool LinkRig::IssueAndDecode(std::int32_t type, std::int32_t direction, const std::function<bool()>& pred) {
    commands->IssueCommand(type, 1, direction);
    return WaitUntil(
        [&] {
            commands->DecodeReplies();
            return pred();
        },
        std::chrono::seconds(20));
}

std::vector<std::uint8_t> PaddedToSectors(std::span<const std::uint8_t> image) {
    std::vector<std::uint8_t> padded(image.begin(), image.end());
    padded.resize(std::size_t{SectorsForLength(static_cast<std::uint32_t>(image.size()))} * kSectorBytes, 0);
    return padded;
}
