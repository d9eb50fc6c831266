#include "link/DeviceLink.h"

#include <algorithm>

#include "app/UpdaterContext.h"
#include "link/Channel.h"
#include "platform/Text.h"

namespace {
constexpr std::uint16_t kVendorUsagePage = 0xFF00;
constexpr std::uint16_t kInterfaceUsage = 0x0001;
constexpr std::string_view kProductPrefix = "CAR INTERFACE";
constexpr std::size_t kProductChars = 127;  // a 256-byte buffer of UTF-16 with its terminator
constexpr std::size_t kSerialChars = 24;
constexpr std::size_t kModelCodeChars = 7;
constexpr std::uint8_t kProbeCommand = 0x01;
constexpr auto kSettleDelay = std::chrono::milliseconds(2000);

std::string Narrowed(const std::u16string& text, std::size_t maxChars) {
    return NarrowLowBytes(std::u16string_view(text).substr(0, maxChars));
}
}  // namespace

DeviceLink::DeviceLink(UpdaterContext& ctx, HidBus& bus, DeviceNotificationPort& notifications,
                       VolumePort& volumes, Clock& clock)
    : ctx_(ctx),
      bus_(bus),
      notifications_(notifications),
      volumes_(volumes),
      clock_(clock),
      hasHidBootloader_([](const std::u16string&) { return false; }),
      showLinkStatus_([] {}),
      sendProbe_([this] { SendProbe(); }),
      endFlashRun_([] {}) {}

DeviceLink::~DeviceLink() {
    Teardown();
    ReleaseChannel();
}

void DeviceLink::SetHasHidBootloader(std::function<bool(const std::u16string&)> hasHidBootloader) {
    hasHidBootloader_ = std::move(hasHidBootloader);
}

void DeviceLink::SetShowLinkStatus(std::function<void()> showLinkStatus) {
    showLinkStatus_ = std::move(showLinkStatus);
}

void DeviceLink::SetProbeSender(std::function<void()> sendProbe) {
    sendProbe_ = std::move(sendProbe);
}

void DeviceLink::SetEndFlashRun(std::function<void()> endFlashRun) {
    endFlashRun_ = std::move(endFlashRun);
}

std::size_t DeviceLink::EnumerateInterfaces() {
    for (const HidCollectionInfo& collection : bus_.ListCollections()) {
        if (devicePaths_.size() >= kMaxDevicePaths) {
            break;
        }
        if (collection.usagePage == kVendorUsagePage && collection.usage == kInterfaceUsage) {
            devicePaths_.push_back(collection.path);
        }
    }
    return devicePaths_.size();
}

bool DeviceLink::ReadProductString(std::size_t index, std::string& product) {
    if (index >= devicePaths_.size()) {
        return false;
    }
    const auto text = bus_.ReadProductString(devicePaths_[index]);
    if (!text) {
        return false;
    }
    product = Narrowed(*text, kProductChars);
    return true;
}

bool DeviceLink::ReadSerialString(std::size_t index, std::string& serial) {
    if (index >= devicePaths_.size()) {
        return false;
    }
    const auto text = bus_.ReadSerialString(devicePaths_[index]);
    if (!text) {
        return false;
    }
    serial = Narrowed(*text, kSerialChars);
    return true;
}

bool DeviceLink::OpenChannel(std::size_t index) {
    // Handles still in use by a running channel are closed with it, never simply dropped.
    ReleaseChannel();
    ReleasePendingHandles();
    channelPath_.clear();
    if (index >= devicePaths_.size()) {
        return false;
    }
    readHandle_ = bus_.OpenRead(devicePaths_[index]);
    writeHandle_ = bus_.OpenWrite(devicePaths_[index]);
    if (!readHandle_ || !writeHandle_) {
        ReleasePendingHandles();
        return false;
    }
    channelPath_ = devicePaths_[index];
    channelDeviceLeft_ = false;
    return true;
}

void DeviceLink::CloseChannel() {
    ReleaseChannel();
    ReleasePendingHandles();
    channelPath_.clear();
}

bool DeviceLink::ChannelOpen() const {
    std::lock_guard lock(channelMutex_);
    return channel_ != nullptr || (readHandle_ && writeHandle_);
}

bool DeviceLink::ReaderRunning() const {
    std::lock_guard lock(channelMutex_);
    return channel_ != nullptr && channel_->ReaderRunning();
}

bool DeviceLink::FindUpdateVolume() {
    const std::vector<VolumeEntry> volumes = volumes_.ListVolumes();
    const std::size_t scanned = std::min(volumes.size(), kMaxVolumesScanned);
    for (std::size_t i = 0; i < scanned; ++i) {
        const VolumeEntry& volume = volumes[i];
        ctx_.volumeRoot = volume.rootPath;
        if (volume.removable && volume.details && volume.details->fileSystemName == u"FAT") {
            ctx_.mfg_id = volume.details->label.substr(0, kMaxModelCodeLength);
            return true;
        }
    }
    return false;
}

void DeviceLink::RegisterHidNotification(LinkWindow& window) {
    // One registration per window is enough; a second would deliver every notification twice.
    for (const auto& [registered, subscription] : subscriptions_) {
        if (registered == &window) {
            return;
        }
    }
    subscriptions_.emplace_back(&window, notifications_.Subscribe([&window](const DeviceChange& change) {
        window.PostDeviceChange(change);
    }));
}

void DeviceLink::ConnectInterface(LinkWindow& window) {
    window_ = &window;
    // Registered before the scan: an interface plugged in after a fruitless attempt must still
    // be heard (the window hears every device change, not only those of a connected interface).
    RegisterHidNotification(window);
    // The device of an earlier channel has left or restarted: end its threads and close its handles.
    CloseChannel();
    if (FindUpdateVolume()) {
        ctx_.iUsbConnectSts.store(USB_MASS_STORAGE);
        return;
    }
    ctx_.outputReport.SetByte(0, 0);
    ctx_.inputReport.SetByte(0, 0);
    clock_.Sleep(kSettleDelay);

    devicePaths_.clear();
    ctx_.deniedInterfacePath.clear();
    EnumerateInterfaces();
    for (std::size_t i = 0; i < devicePaths_.size(); ++i) {
        std::string product;
        std::string serial;
        if (!ReadProductString(i, product) ||
            product.compare(0, kProductPrefix.size(), kProductPrefix) != 0 || !ReadSerialString(i, serial) ||
            !OpenChannel(i)) {
            // Kept so the front ends can name the missing device permission instead of "disconnected".
            if (ctx_.deniedInterfacePath.empty() && bus_.OpenDenied(devicePaths_[i]))
                ctx_.deniedInterfacePath = devicePaths_[i];
            continue;
        }
        StartChannel();
        ctx_.mfg_id = WidenLatin1(std::string_view(serial).substr(0, kModelCodeChars));
        ctx_.linkOpen = true;
        ctx_.outputReport.SetByte(1, 0);
        if (hasHidBootloader_(ctx_.mfg_id)) {
            ctx_.bootProbeActive.store(true);
            sendProbe_();
        } else {
            ctx_.bootProbeActive.store(false);
            ctx_.iUsbConnectSts.store(USB_APPLICATION);
        }
        window.StartReplyTimer();
        return;
    }
    devicePaths_.clear();
    ctx_.iUsbConnectSts.store(USB_NOT_CONNECTED);
}

void DeviceLink::OnDeviceChange(const DeviceChange& change) {
    // The engine is talking to the interface: another device coming or going must neither close
    // the channel under it nor send a probe into the run. Once the interface itself has left,
    // the usual rules bring it back.
    if (FlashRunUnderWay() && ctx_.iUsbConnectSts.load() != USB_NOT_CONNECTED) {
        if (IsChannelDeviceRemoval(change)) {
            EndFlashRunOnRemoval();
        }
        return;
    }
    if (change.eventCode == DBT_DEVICEREMOVECOMPLETE) {
        if (IsChannelDeviceRemoval(change)) {
            channelDeviceLeft_ = true;
        }
        ctx_.iUsbConnectSts.store(USB_NOT_CONNECTED);
        if (ctx_.mainState == MS_IDLE && !ctx_.configWritePending && !ctx_.featureWriteRequest &&
            !ctx_.overlayWritePending) {
            ctx_.mainState = MS_CONNECT;
            CloseChannel();
        }
        showLinkStatus_();
        return;
    }
    if (ctx_.iUsbConnectSts.load() == USB_NOT_CONNECTED && window_ != nullptr) {
        if (AwaitingRestart()) {
            return;  // whatever arrived, it is not the interface back from its restart
        }
        ctx_.iUsbConnectSts.store(USB_CONNECTING);
        ConnectInterface(*window_);
    }
}

bool DeviceLink::FlashRunUnderWay() const {
    const std::int32_t state = ctx_.mainState;
    return ctx_.flashRunActive.load(std::memory_order_acquire) || state == MS_START_ENGINE ||
           state == MS_START_FLASH || state == MS_WAIT_FLASH;
}

bool DeviceLink::AwaitingRestart() const {
    const std::int32_t state = ctx_.mainState;
    const bool restartWait = state == MS_WAIT_LOADER || state == MS_WAIT_INIT || state == MS_WAIT_APPLICATION;
    // A connect now would find the interface still in its old mode, or close the channel before
    // the restart command has gone out.
    return restartWait && !channelPath_.empty() && !channelDeviceLeft_;
}

bool DeviceLink::IsChannelDeviceRemoval(const DeviceChange& change) {
    if (change.eventCode != DBT_DEVICEREMOVECOMPLETE || change.kind == DeviceKind::Volume ||
        channelPath_.empty()) {
        return false;
    }
    if (!change.path.empty()) {
        return change.path == channelPath_;
    }
    // The system did not say which device left: it was the interface if the bus no longer lists it.
    for (const HidCollectionInfo& collection : bus_.ListCollections()) {
        if (collection.path == channelPath_) {
            return false;
        }
    }
    return true;
}

void DeviceLink::EndFlashRunOnRemoval() {
    ctx_.iUsbConnectSts.store(USB_NOT_CONNECTED);
    // The run fails now instead of at its reply time-out; its channel goes with the interface.
    endFlashRun_();
    CloseChannel();
    showLinkStatus_();
}

void DeviceLink::Teardown() {
    if (ctx_.linkOpen) {
        StopReader();
        StopWriter();
        CloseChannel();
        devicePaths_.clear();
    }
    subscriptions_.clear();
}

void DeviceLink::SignalSend() {
    std::lock_guard lock(channelMutex_);
    if (channel_) {
        channel_->SignalSend();
    }
}

void DeviceLink::StopReader() {
    std::lock_guard lock(channelMutex_);
    if (channel_) {
        channel_->StopReader();
    }
}

void DeviceLink::StopWriter() {
    std::lock_guard lock(channelMutex_);
    if (channel_) {
        channel_->StopWriter();
    }
}

bool DeviceLink::WriteReport(const HidReport& report) {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard lock(channelMutex_);
        channel = channel_;
    }
    return channel != nullptr && channel->Write(report);
}

void DeviceLink::StartChannel() {
    auto channel = std::make_shared<Channel>(ctx_, std::move(readHandle_), std::move(writeHandle_));
    channel->Start();
    std::lock_guard lock(channelMutex_);
    channel_ = std::move(channel);
}

void DeviceLink::ReleaseChannel() {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard lock(channelMutex_);
        channel.swap(channel_);
    }
    channel.reset();  // stops and joins the threads here unless another thread still writes on it
}

void DeviceLink::ReleasePendingHandles() {
    readHandle_.reset();
    writeHandle_.reset();
}

void DeviceLink::SendProbe() {
    ctx_.outputReport.SetByte(1, kProbeCommand);
    SignalSend();
}
