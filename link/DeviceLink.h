#pragma once
// Finds the Telvix interface among the HID devices and removable volumes, identifies its model,
// opens the two-handle report channel with its reader and writer threads, and follows arrivals
// and removals. One instance, owned by whoever builds the program.
//
// Threading: every member runs on the window thread, except SignalSend, StopReader, StopWriter and
// WriteReport, which any thread may call (the flashing engine does).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "link/HidReport.h"
#include "link/LinkWindow.h"
#include "platform/Clock.h"
#include "platform/DeviceNotifications.h"
#include "platform/HidBus.h"
#include "platform/VolumePort.h"

struct UpdaterContext;
class Channel;

class DeviceLink {
  public:
    static constexpr std::size_t kMaxDevicePaths = 10;
    static constexpr std::size_t kMaxVolumesScanned = 23;  // the drive letters D to Z
    static constexpr std::size_t kMaxModelCodeLength = 15;

    DeviceLink(UpdaterContext& ctx, HidBus& bus, DeviceNotificationPort& notifications, VolumePort& volumes,
               Clock& clock);
    ~DeviceLink();  // the window's teardown, then waits for the channel threads
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Whether the model's bootloader speaks HID (the catalogue answers); false until set.
    void SetHasHidBootloader(std::function<bool(const std::u16string& mfgId)> hasHidBootloader);
    // Refreshes the main window's link status display; called after a removal.
    void SetShowLinkStatus(std::function<void()> showLinkStatus);
    // Sends the connect-time probe 0x01; by default writes byte 1 and signals the writer.
    void SetProbeSender(std::function<void()> sendProbe);
    // Ends a flashing run as a failure at once and returns once its engine has stopped; called
    // when the interface itself leaves during the run. Nothing by default.
    void SetEndFlashRun(std::function<void()> endFlashRun);

    std::size_t EnumerateInterfaces();
    // The product string narrowed to 8-bit text (at most 127 characters).
    bool ReadProductString(std::size_t index, std::string& product);
    // The first 24 units of the serial string narrowed to 8-bit text.
    bool ReadSerialString(std::size_t index, std::string& serial);
    bool OpenChannel(std::size_t index);
    void CloseChannel();
    bool FindUpdateVolume();
    void RegisterHidNotification(LinkWindow& window);
    void ConnectInterface(LinkWindow& window);
    // Outside a flashing run: a removal sets USB_NOT_CONNECTED (and in an idle controller closes
    // the channel and sends it to MS_CONNECT), any other event connects when nothing is connected,
    // except while an install waits for the restarted interface and its old presence has not
    // been seen leaving yet. While the engine runs on the interface (flashRunActive, or the
    // controller between MS_START_ENGINE and the end of MS_WAIT_FLASH), only the removal of the
    // interface's own device counts: it ends the run, closes the channel and sets
    // USB_NOT_CONNECTED.
    void OnDeviceChange(const DeviceChange& change);
    // What the window's destruction does: stop the threads and close the channel when a link was
    // opened, release the device paths, and end the windows' notification subscriptions.
    void Teardown();

    // Wakes the writer thread of the current channel to send outputReport.
    void SignalSend();
    void StopReader();
    void StopWriter();
    // Writes one report synchronously on the current channel's write handle (the flashing engine's
    // way of sending); false when no channel is open or the device refused it.
    bool WriteReport(const HidReport& report);

    std::size_t PathCount() const { return devicePaths_.size(); }
    const std::vector<std::string>& DevicePaths() const { return devicePaths_; }
    // True while both channel handles are open (between a successful OpenChannel and its close).
    bool ChannelOpen() const;
    // True while the current channel's reader thread runs.
    bool ReaderRunning() const;

  private:
    void StartChannel();
    void ReleaseChannel();
    void ReleasePendingHandles();
    void SendProbe();
    bool FlashRunUnderWay() const;
    bool IsChannelDeviceRemoval(const DeviceChange& change);
    bool AwaitingRestart() const;
    void EndFlashRunOnRemoval();

    UpdaterContext& ctx_;
    HidBus& bus_;
    DeviceNotificationPort& notifications_;
    VolumePort& volumes_;
    Clock& clock_;
    std::function<bool(const std::u16string&)> hasHidBootloader_;
    std::function<void()> showLinkStatus_;
    std::function<void()> sendProbe_;
    std::function<void()> endFlashRun_;

    std::vector<std::string> devicePaths_;
    std::string channelPath_;         // the device the channel is open on
    bool channelDeviceLeft_ = false;  // a removal of that device was seen
    std::vector<std::pair<LinkWindow*, DeviceSubscription>> subscriptions_;
    LinkWindow* window_ = nullptr;
    // Handles opened by OpenChannel and not yet handed to a running channel.
    std::unique_ptr<HidReadHandle> readHandle_;
    std::unique_ptr<HidWriteHandle> writeHandle_;
    mutable std::mutex channelMutex_;
    std::shared_ptr<Channel> channel_;  // the running channel; other threads copy it under the lock
};
