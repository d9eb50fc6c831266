// The install's bootloader lookup tells a failed catalogue apart from a model without HID
// bootloader; the connect-time question still counts a failure as "no HID bootloader".
#include "CatalogueTestBase.h"
#include "catalogue/CatalogueLookups.h"

namespace {

class HidBootloaderLookupTest : public CatalogueTest {};

TEST_P(HidBootloaderLookupTest, AnswersPresentAbsentOrFailedWithTheDriversMessage) {
    UseScratch();
    EXPECT_EQ(LookUpHidBootloader(u"QD7720R", db()).answer, HidBootloader::Present);
    EXPECT_EQ(LookUpHidBootloader(u"TN7580R", db()).answer, HidBootloader::Absent);
    EXPECT_EQ(LookUpHidBootloader(u"QX0000R", db()).answer, HidBootloader::Absent) << "no row";
    scratch().Exec("DROP TABLE tolvanehw");
    const HidBootloaderLookup failed = LookUpHidBootloader(u"QD7720R", db());
    EXPECT_EQ(failed.answer, HidBootloader::LookupFailed);
    EXPECT_FALSE(failed.driverMessage.empty());
    EXPECT_FALSE(HasHidBootloader(u"QD7720R", db())) << "at connect a failure counts as no HID bootloader";
}

TELVIX_BOTH_BACKENDS(HidBootloaderLookupTest);

TEST(HidBootloaderLookupOffline, UnreachableCatalogueIsAFailedLookup) {
    const CatalogueDb db(UnreachableMariaDb(), 15);
    const HidBootloaderLookup lookup = LookUpHidBootloader(u"QD7720R", db);
    EXPECT_EQ(lookup.answer, HidBootloader::LookupFailed);
    EXPECT_FALSE(lookup.driverMessage.empty());
}

}  // namespace
