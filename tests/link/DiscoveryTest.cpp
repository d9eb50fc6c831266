// Finding the interface: the collection filter, the product check, the model code, the channel
// opened on the right device, and the settle pause.
#include <gtest/gtest.h>

#include "tests/support/LinkBed.h"

namespace {
using namespace std::chrono_literals;

// A bus wrapper that counts enumerations, to prove that none happened.
class CountingBus final : public HidBus {
  public:
    explicit CountingBus(HidBus& inner) : inner_(inner) {}
    std::vector<HidCollectionInfo> ListCollections() override {
        ++listings;
        return inner_.ListCollections();
    }
    std::optional<std::u16string> ReadProductString(const std::string& path) override {
        return inner_.ReadProductString(path);
    }
    std::optional<std::u16string> ReadSerialString(const std::string& path) override {
        return inner_.ReadSerialString(path);
    }
    std::unique_ptr<HidReadHandle> OpenRead(const std::string& path) override {
        return inner_.OpenRead(path);
    }
    std::unique_ptr<HidWriteHandle> OpenWrite(const std::string& path) override {
        return inner_.OpenWrite(path);
    }
    int listings = 0;

  private:
    HidBus& inner_;
};

TEST(Discovery, OnlyTheCarInterfaceIsOpenedAmongVendorDevicesAndTheProbeReachesIt) {
    LinkBed bed;
    EmulatedInterface& other =
        bed.bus.PlugOtherDevice({.usagePage = 0xFF00, .usage = 1, .product = u"LED CONTROLLER"});
    EmulatedInterface& box = bed.bus.PlugInterface("WE5581R");
    bed.SetHidBootloader(true);

    bed.Connect();

    ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
    EXPECT_EQ(bed.link.PathCount(), 2u);
    EXPECT_EQ(bed.ctx.mfg_id, u"WE5581R");
    EXPECT_TRUE(bed.ctx.linkOpen);
    EXPECT_TRUE(bed.ctx.bootProbeActive.load());
    ASSERT_EQ(box.ReceivedCount(), 1u);
    EXPECT_EQ(box.ReceivedReports()[0][1], 0x01);
    EXPECT_EQ(other.ReceivedCount(), 0u);
    EXPECT_EQ(bed.window.TimerStarts(), 1);
}

TEST(Discovery, OnlyVendorCollectionsWithUsageOneAreListed) {
    LinkBed bed;
    bed.bus.PlugOtherDevice({.usagePage = 0x0001, .usage = 6, .product = u"CAR INTERFACE KEYBOARD"});
    bed.bus.PlugOtherDevice({.usagePage = 0xFF00, .usage = 2, .product = u"CAR INTERFACE"});
    bed.bus.PlugOtherDevice({.usagePage = 0xFF01, .usage = 1, .product = u"CAR INTERFACE"});
    EXPECT_EQ(bed.link.EnumerateInterfaces(), 0u);

    bed.Connect();
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_FALSE(bed.ctx.linkOpen);
    EXPECT_EQ(bed.link.PathCount(), 0u);
}

TEST(Discovery, AnEleventhCollectionIsNeverListed) {
    LinkBed bed;
    for (int i = 0; i < 10; ++i) {
        bed.bus.PlugOtherDevice({.product = u"VENDOR DEVICE"});
    }
    bed.bus.PlugInterface("QD7720R");

    EXPECT_EQ(bed.link.EnumerateInterfaces(), 10u);
    EXPECT_EQ(bed.link.EnumerateInterfaces(), 10u);  // a second call without reset appends nothing

    bed.Connect();
    EXPECT_EQ(bed.link.PathCount(), 0u);
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_FALSE(bed.link.ChannelOpen());
}

TEST(Discovery, ProductMustBeginWithCarInterfaceExactly) {
    LinkBed bed;
    bed.bus.PlugInterface(DeviceIdentity{"QD7720R", u"car interface", u"QD7720R0001"},
                          DeviceMode::Application);
    bed.bus.PlugInterface(DeviceIdentity{"QH7720R", u"CAR INTERFAC", u"QH7720R0001"},
                          DeviceMode::Application);
    EmulatedInterface& good = bed.bus.PlugInterface(
        DeviceIdentity{"WD7731R", u"CAR INTERFACE HDMI V2", u"WD7731R0001"}, DeviceMode::Application);
    bed.SetHidBootloader(true);

    bed.Connect();
    ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
    EXPECT_EQ(bed.ctx.mfg_id, u"WD7731R");
    EXPECT_EQ(good.ReceivedCount(), 1u);
}

TEST(Discovery, DevicesFailingStringsOrOpenAreSkipped) {
    LinkBed bed;
    EmulatedInterface& mute = bed.bus.PlugInterface("QD7720R");
    mute.SetRefuseStrings(true);
    EmulatedInterface& locked = bed.bus.PlugInterface("QH7720R");
    locked.SetRefuseOpen(true);
    EmulatedInterface& good = bed.bus.PlugInterface("TN7931R");
    bed.SetHidBootloader(true);

    bed.Connect();
    ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
    EXPECT_EQ(bed.ctx.mfg_id, u"TN7931R");
    EXPECT_EQ(mute.ReceivedCount(), 0u);
    EXPECT_EQ(locked.ReceivedCount(), 0u);
    EXPECT_EQ(good.ReceivedCount(), 1u);
}

TEST(Discovery, ModelCodeIsTheFirstSevenSerialCharactersNarrowedToOneByte) {
    LinkBed bed;
    bed.bus.PlugInterface(DeviceIdentity{"QD772ER", u"CAR INTERFACE", u"QD772E\u0152123"},
                          DeviceMode::Application);
    bed.Connect();
    EXPECT_EQ(bed.ctx.mfg_id, u"QD772E\u0052");  // U+0152 keeps only its low byte 0x52
    std::string serial;
    ASSERT_TRUE(bed.link.ReadSerialString(0, serial));
    EXPECT_EQ(serial, "QD772ER123");
}

TEST(Discovery, SerialIsCutAfterTwentyFourCharactersAndProductAfter127) {
    LinkBed bed;
    const std::u16string longSerial = u"WJ7731R" + std::u16string(40, u'7');
    const std::u16string longProduct = u"CAR INTERFACE" + std::u16string(200, u'X');
    bed.bus.PlugInterface(DeviceIdentity{"WJ7731R", longProduct, longSerial}, DeviceMode::Application);
    ASSERT_EQ(bed.link.EnumerateInterfaces(), 1u);
    std::string serial, product;
    ASSERT_TRUE(bed.link.ReadSerialString(0, serial));
    ASSERT_TRUE(bed.link.ReadProductString(0, product));
    EXPECT_EQ(serial.size(), 24u);
    EXPECT_EQ(product.size(), 127u);
    EXPECT_FALSE(bed.link.ReadSerialString(1, serial));  // past the table: no read
}

TEST(Discovery, WithoutHidBootloaderTheModeIsApplicationAtOnceAndNoProbeGoesOut) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("WE5540R");
    bed.Connect();
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_APPLICATION);
    EXPECT_FALSE(bed.ctx.bootProbeActive.load());
    EXPECT_TRUE(box.WaitUntilIdle());
    EXPECT_EQ(box.ReceivedCount(), 0u);
    EXPECT_EQ(bed.ctx.outputReport.Byte(1), 0);
}

TEST(Discovery, TheCatalogueIsAskedWithTheModelCode) {
    LinkBed bed;
    bed.bus.PlugInterface("TN7581R", DeviceMode::Bootloader);
    std::u16string asked;
    bed.link.SetHasHidBootloader([&](const std::u16string& model) {
        asked = model;
        return true;
    });
    bed.Connect();
    EXPECT_EQ(asked, u"TN7581R");
    ASSERT_TRUE(bed.WaitForMode(USB_BOOTLOADER));
    EXPECT_FALSE(bed.ctx.bootProbeActive.load());
}

TEST(Discovery, ConnectPausesTwoSecondsThroughTheClockOnly) {
    LinkBed bed;
    bed.bus.PlugInterface("QD7720R");
    bed.Connect();
    EXPECT_EQ(bed.clock.Sleeps(), std::vector<std::chrono::milliseconds>{2000ms});
}

TEST(Discovery, ReportIdsAreZeroedAtEachConnectAttempt) {
    LinkBed bed;
    bed.ctx.outputReport.SetByte(0, 0x55);
    bed.ctx.inputReport.SetByte(0, 0x66);
    bed.Connect();  // nothing attached: the attempt still resets both ids
    EXPECT_EQ(bed.ctx.outputReport.Byte(0), 0);
    EXPECT_EQ(bed.ctx.inputReport.Byte(0), 0);
}

TEST(Discovery, NoHidEnumerationWhenAnUpdateVolumeIsPresent) {
    UpdaterContext ctx;
    EmulatedHidBus bus;
    FakeClock clock;
    QueuedLinkWindow window;
    CountingBus counting(bus.Hid());
    EmulatedInterface& app = bus.PlugInterface("QD7720R");
    EmulatedInterface& volume = bus.PlugInterface("TN7580R", DeviceMode::UpdateVolume);
    DeviceLink link(ctx, counting, bus.Notifications(), bus.Volumes(), clock);

    link.ConnectInterface(window);

    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_MASS_STORAGE);
    EXPECT_EQ(ctx.mfg_id, u"TN7580R");
    EXPECT_EQ(ctx.volumeRoot, volume.VolumeRoot().string() + "/");
    EXPECT_EQ(counting.listings, 0);
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_FALSE(ctx.linkOpen);
    EXPECT_FALSE(link.ChannelOpen());
    EXPECT_EQ(app.ReceivedCount(), 0u);
    EXPECT_EQ(window.TimerStarts(), 0);
}
}  // namespace
