// Value conversion, message tags, connection-string options and driver-missing messages.
#include <gtest/gtest.h>

#include "catalogue/CatalogueChecks.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/CatalogueValues.h"
#include "catalogue/Odbc.h"

TEST(DecimalValue, TakesLeadingBlanksSignAndDigitsOnly) {
    EXPECT_EQ(DecimalValue(u""), 0);
    EXPECT_EQ(DecimalValue(u"abc"), 0);
    EXPECT_EQ(DecimalValue(u"12abc"), 12);
    EXPECT_EQ(DecimalValue(u" 7"), 7);
    EXPECT_EQ(DecimalValue(u"\t 42 17"), 42);
    EXPECT_EQ(DecimalValue(u"-15"), -15);
    EXPECT_EQ(DecimalValue(u"+9"), 9);
    EXPECT_EQ(DecimalValue(u"- 9"), 0);
    EXPECT_EQ(DecimalValue(u"x12"), 0);
}

TEST(DecimalValue, KeepsTheLowOrderBitsOfItsDestination) {
    EXPECT_EQ(DecimalAs<std::uint8_t>(u"300"), 44);
    EXPECT_EQ(DecimalAs<std::uint16_t>(u"300"), 300);
    EXPECT_EQ(DecimalAs<std::uint16_t>(u"70000"), 70000 - 65536);
    EXPECT_EQ(DecimalAs<std::uint8_t>(u"-1"), 255);
    EXPECT_EQ(DecimalAs<std::int32_t>(u"4294967297"), 1);
    EXPECT_EQ(DecimalAs<std::uint32_t>(u"200000"), 200000u);
}

TEST(OdbcMessages, TagsInFrontAreRemoved) {
    EXPECT_EQ(WithoutOdbcTags(u"[unixODBC][Driver Manager]Can't open lib 'X' : file not found"),
              u"Can't open lib 'X' : file not found");
    EXPECT_EQ(WithoutOdbcTags(u"[ma-3.1.15]Can't connect to server on '127.0.0.1' (115)"),
              u"Can't connect to server on '127.0.0.1' (115)");
    EXPECT_EQ(WithoutOdbcTags(u"No tags [here]"), u"No tags [here]");
    EXPECT_EQ(WithoutOdbcTags(u"[unclosed tag"), u"[unclosed tag");
    EXPECT_EQ(WithoutOdbcTags(u""), u"");
}

TEST(DriverMissing, BothDriverManagerMessagesMeanMissing) {
    EXPECT_TRUE(MeansDriverMissing(u"Data source name not found and no default driver specified"));
    EXPECT_TRUE(MeansDriverMissing(u"Can't open lib 'MySQL ODBC 5.1 Driver' : file not found"));
    EXPECT_FALSE(MeansDriverMissing(u"Can't connect to server on '127.0.0.1' (115)"));
    EXPECT_FALSE(MeansDriverMissing(u"Access denied for user 'a'@'127.0.0.1' (using password: YES)"));
}

TEST(TimeoutOptions, AddedForMariaDbOnlyAndNeverTwice) {
    const std::string maria = "Driver={MySQL ODBC 5.1 Driver};Server=h;Database=d;User=u;Password=p";
    EXPECT_EQ(WithTimeoutOptions(maria, 15), maria + ";CONN_TIMEOUT=15;READ_TIMEOUT=17;WRITE_TIMEOUT=17");
    const std::string given = maria + ";conn_timeout=3";
    EXPECT_EQ(WithTimeoutOptions(given, 15), given + ";READ_TIMEOUT=17;WRITE_TIMEOUT=17");
    const std::string sqlite = "Driver={SQLite3 ODBC Driver};Database=/tmp/c.sqlite;NoCreat=1";
    EXPECT_EQ(WithTimeoutOptions(sqlite, 15), sqlite);
}
