// The vehicle search over both back ends: list fills, the six statement forms with their clauses,
// labels, text limits, SearchRows and the open cases (512 rows, a model without a make).
#include <algorithm>
#include <set>

#include "CatalogueTestBase.h"
#include "catalogue/VehicleSearch.h"
#include "platform/Text.h"

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

// The fixture entries a search should list, worked out from the fixture itself.
std::multiset<int> ExpectedIds(const std::string& mfgId, const std::string& make, const std::string& model,
                               int year, bool manual, bool volume) {
    std::multiset<int> ids;
    for (const FixtureEntry& e : Fixture().entries) {
        const bool transmission = manual ? e.vehicle_transmission == 1
                                         : (e.vehicle_transmission == 2 || e.vehicle_transmission == 3);
        if (SameText(e.mfg_id, mfgId) && e.sw_valid_status != 0 && transmission &&
            (e.sw_id == 9999) == volume && (make.empty() || SameText(e.vehicle_make, make)) &&
            (model.empty() || SameText(e.vehicle_model, model)) &&
            (year == 0 || (std::stoi(e.vehicle_year_from) <= year && std::stoi(e.vehicle_year_to) >= year))) {
            ids.insert(e.sw_id);
        }
    }
    return ids;
}

class VehicleSearchTest : public CatalogueTest {
  protected:
    VehicleSearch& Search() {
        if (!search_) {
            search_ = std::make_unique<VehicleSearch>(ctx_, panel_, db(), messages_, clock_, [this] {
                if (volumeLabel_.empty()) {
                    return false;
                }
                ctx_.mfg_id = volumeLabel_;
                ctx_.volumeRoot = "/media/volume/";
                return true;
            });
        }
        return *search_;
    }
    std::multiset<int> ListedIds() const {
        std::multiset<int> ids;
        for (std::size_t i = 0; i < panel_.results.size(); ++i) {
            ids.insert(ctx_.SearchRows[i].sw_id);
        }
        return ids;
    }
    void Choose(SearchList list, const std::u16string& text) { ASSERT_TRUE(panel_.Select(list, text)); }
    const HarnessSearchPanel::List& ListOf(SearchList list) const {
        return panel_.lists[static_cast<std::size_t>(list)];
    }

    std::u16string volumeLabel_;
    std::unique_ptr<VehicleSearch> search_;
};

}  // namespace

TEST_P(VehicleSearchTest, FillsTheListsForTheModel) {
    Search().FillVehicleLists();
    const auto& makes = ListOf(SearchList::Make).entries;
    std::set<std::string> distinct;
    for (const FixtureEntry& e : Fixture().entries) {
        if (e.mfg_id == "QD7720R") {
            distinct.insert(e.vehicle_make);
        }
    }
    std::vector<std::string> expected(distinct.begin(), distinct.end());
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    });
    std::vector<std::u16string> wanted{u"ALL MAKES"};
    for (const std::string& make : expected) {
        wanted.push_back(FromUtf8(make));
    }
    EXPECT_EQ(makes, wanted) << "ALL MAKES, then the distinct makes in the catalogue's order";
    EXPECT_NE(std::find(makes.begin(), makes.end(), u"Mercedes-Benz Vans"), makes.end()) << "shown in full";
    EXPECT_EQ(ListOf(SearchList::Model).entries, std::vector<std::u16string>{u"ALL MODELS"});
    const auto& years = ListOf(SearchList::Year).entries;
    ASSERT_EQ(years.size(), 1u + (2027 - 2000 + 1));
    EXPECT_EQ(years.front(), u"ALL YEARS");
    EXPECT_EQ(years[1], u"2000");
    EXPECT_EQ(years.back(), u"2027");
    for (SearchList list : {SearchList::Make, SearchList::Model, SearchList::Year}) {
        EXPECT_EQ(panel_.SelectedListIndex(list), 0);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(VehicleSearchTest, SecondInterfaceRebuildsEveryList) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Chevrolet");
    Search().FillModelList();
    ASSERT_GT(ListOf(SearchList::Model).entries.size(), 5u);
    ctx_.mfg_id = u"WE5581R";
    Search().FillVehicleLists();
    const auto& makes = ListOf(SearchList::Make).entries;
    EXPECT_EQ(std::count(makes.begin(), makes.end(), u"ALL MAKES"), 1);
    EXPECT_EQ(std::count(makes.begin(), makes.end(), u"Chevrolet"), 0);
    EXPECT_EQ(ListOf(SearchList::Model).entries, std::vector<std::u16string>{u"ALL MODELS"});
    const auto& years = ListOf(SearchList::Year).entries;
    EXPECT_EQ(std::count(years.begin(), years.end(), u"ALL YEARS"), 1);
    EXPECT_EQ(std::count(years.begin(), years.end(), u"2010"), 1);
}

TEST_P(VehicleSearchTest, ModelListFollowsTheMake) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Chevrolet");
    Search().FillModelList();
    const auto& models = ListOf(SearchList::Model).entries;
    EXPECT_EQ(models.front(), u"ALL MODELS");
    EXPECT_EQ(models[1], u"Camaro");
    EXPECT_EQ(models.back(), u"Volt");
    EXPECT_EQ(std::count(models.begin(), models.end(), u"Camaro"), 1) << "distinct";
    EXPECT_EQ(panel_.SelectedListIndex(SearchList::Model), 0);

    Choose(SearchList::Make, u"ALL MAKES");
    Search().FillModelList();
    EXPECT_EQ(ListOf(SearchList::Model).entries, std::vector<std::u16string>{u"ALL MODELS"});
}

TEST_P(VehicleSearchTest, MakeOfEighteenCharactersFindsItsModelsAndEntries) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Mercedes-Benz Vans");
    Search().FillModelList();
    EXPECT_EQ(ListOf(SearchList::Model).entries, (std::vector<std::u16string>{u"ALL MODELS", u"Sprinter"}));
    Search().RunSearch();
    ASSERT_FALSE(panel_.results.empty());
    EXPECT_EQ(panel_.results[0].make, u"Mercedes-Benz Vans");
}

TEST_P(VehicleSearchTest, NothingChosenNoMatch) {
    ctx_.mfg_id = u"QX0000R";
    Search().FillVehicleLists();
    Search().RunSearch();
    EXPECT_EQ(panel_.resultLabel, u"No records found for ALL makes ALL models ALL years");
    EXPECT_TRUE(panel_.results.empty());
}

TEST_P(VehicleSearchTest, NothingChosenListsTheWholeModel) {
    Search().FillVehicleLists();
    Search().RunSearch();
    const auto expected = ExpectedIds("QD7720R", "", "", 0, false, false);
    EXPECT_EQ(ListedIds(), expected);
    EXPECT_EQ(panel_.resultLabel, FromUtf8(std::to_string(expected.size())) +
                                      u" records found for ALL makes ALL models ALL years");
}

TEST_P(VehicleSearchTest, MakeWithManualTransmissionFindsOne) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Ford");
    panel_.manualTransmission = true;
    Search().RunSearch();
    EXPECT_EQ(panel_.resultLabel, u"One record found for Ford ALL models ALL years with manual transmission");
    ASSERT_EQ(panel_.results.size(), 1u);
    EXPECT_EQ(panel_.results[0].model, u"Mustang");
    EXPECT_EQ(panel_.results[0].year, u"2015-2022");
    EXPECT_EQ(ctx_.SearchRows[0].sw_id, 1062);
    EXPECT_EQ(ctx_.SearchRows[0].sw_build, 3);
}

TEST_P(VehicleSearchTest, MakeAndYearUseTheYearAsBothBounds) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Ford");
    Choose(SearchList::Year, u"2015");
    Search().RunSearch();
    ASSERT_EQ(panel_.results.size(), 1u)
        << "F-150 2012-2016 only; 2016-2018, withdrawn, manual and 9999 are not";
    EXPECT_EQ(panel_.results[0].year, u"2012-2016");
    EXPECT_EQ(ctx_.SearchRows[0].sw_id, 1060);
    EXPECT_EQ(ctx_.SearchRows[0].sw_build, 2);
    EXPECT_EQ(panel_.resultLabel, u"One record found for Ford ALL models 2015");
}

TEST_P(VehicleSearchTest, EveryFormMatchesTheFixture) {
    struct Case {
        const char16_t* make;
        const char16_t* model;
        const char16_t* year;
        bool manual;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, true},
        {u"Chevrolet", nullptr, nullptr, false},
        {u"Chevrolet", u"Silverado 1500", nullptr, false},
        {u"Chevrolet", u"Silverado 1500", u"2015", false},
        {u"Chevrolet", nullptr, u"2016", false},
        {nullptr, nullptr, u"2021", false},
        {u"Audi", u"A4", u"2010", true},
    };
    Search().FillVehicleLists();
    for (const Case& c : cases) {
        panel_.Select(SearchList::Make, c.make ? c.make : u"ALL MAKES");
        Search().FillModelList();
        panel_.Select(SearchList::Model, c.model ? c.model : u"ALL MODELS");
        panel_.Select(SearchList::Year, c.year ? c.year : u"ALL YEARS");
        panel_.manualTransmission = c.manual;
        Search().RunSearch();
        const auto expected =
            ExpectedIds("QD7720R", c.make ? ToUtf8(c.make) : "", c.model ? ToUtf8(c.model) : "",
                        c.year ? std::stoi(ToUtf8(c.year)) : 0, c.manual, false);
        EXPECT_EQ(ListedIds(), expected) << ToUtf8(panel_.resultLabel);
        EXPECT_FALSE(expected.empty());
        const std::u16string suffix =
            std::u16string(c.make ? c.make : u"ALL makes") + u" " + (c.model ? c.model : u"ALL models") +
            u" " + (c.year ? c.year : u"ALL years") + (c.manual ? u" with manual transmission" : u"");
        EXPECT_TRUE(panel_.resultLabel.ends_with(u"found for " + suffix)) << ToUtf8(panel_.resultLabel);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(VehicleSearchTest, TwentyThreeRowsKeepTheirOrder) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Chevrolet");
    Search().RunSearch();
    EXPECT_EQ(panel_.resultLabel, u"23 records found for Chevrolet ALL models ALL years");
    ASSERT_EQ(panel_.results.size(), 23u);
    EXPECT_EQ(panel_.results[22].model, u"Volt");
    EXPECT_EQ(ctx_.SearchRows[22].sw_id, 1522);
    EXPECT_EQ(panel_.results[0].model, u"Camaro");
    for (std::size_t i = 1; i < panel_.results.size(); ++i) {
        EXPECT_LE(ToUtf8(panel_.results[i - 1].model), ToUtf8(panel_.results[i].model));
    }
}

TEST_P(VehicleSearchTest, TransmissionClauseSplitsTheRows) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Audi");
    Search().RunSearch();
    const auto automatic = ListedIds();
    panel_.manualTransmission = true;
    Search().RunSearch();
    const auto manual = ListedIds();
    EXPECT_EQ(automatic, ExpectedIds("QD7720R", "Audi", "", 0, false, false));
    EXPECT_EQ(manual, ExpectedIds("QD7720R", "Audi", "", 0, true, false));
    for (int id : manual) {
        EXPECT_EQ(automatic.count(id), 0u);
    }
}

TEST_P(VehicleSearchTest, UpdateVolumeListsOnlyRecoveryEntriesOfItsLabel) {
    Search().FillVehicleLists();
    Search().RunSearch();
    EXPECT_EQ(ListedIds().count(9999), 0u);
    volumeLabel_ = u"WE5581R";
    Search().RunSearch();
    EXPECT_EQ(ctx_.mfg_id, u"WE5581R") << "the volume's label stays the model code";
    EXPECT_EQ(ListedIds(), ExpectedIds("WE5581R", "", "", 0, false, true));
    EXPECT_EQ(ListedIds().count(9999), ListedIds().size());
    EXPECT_GE(panel_.results.size(), 2u);
}

TEST_P(VehicleSearchTest, QuotedMakeSearchesForItself) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Land Rover's");
    Search().FillModelList();
    EXPECT_EQ(ListOf(SearchList::Model).entries, (std::vector<std::u16string>{u"ALL MODELS", u"Defender"}));
    Search().RunSearch();
    ASSERT_EQ(panel_.results.size(), 1u);
    EXPECT_EQ(ctx_.SearchRows[0].sw_id, 1561);
    Choose(SearchList::Make, u"x' OR '1'='1");
    Search().RunSearch();
    ASSERT_EQ(panel_.results.size(), 1u);
    EXPECT_EQ(ctx_.SearchRows[0].sw_id, 1562);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(VehicleSearchTest, NullAndOddBuildsConvert) {
    UseScratch();
    scratch().MakeTextColumn("tolvanesw", "sw_build");
    scratch().Exec("UPDATE tolvanesw SET sw_build='12abc' WHERE mfg_id='QD7720R' AND sw_id=1506");
    scratch().Exec("UPDATE tolvanesw SET sw_build=' 7' WHERE mfg_id='QD7720R' AND sw_id=1507");
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Mazda");
    Search().RunSearch();
    ASSERT_EQ(panel_.results.size(), 2u);
    EXPECT_EQ(ctx_.SearchRows[0].sw_id, 1564);
    EXPECT_EQ(ctx_.SearchRows[0].sw_build, 0) << "NULL";
    EXPECT_EQ(ctx_.SearchRows[1].sw_build, 300) << "16 bits in the search";
    Choose(SearchList::Make, u"Chevrolet");
    Search().FillModelList();
    Choose(SearchList::Model, u"Equinox");
    Search().RunSearch();
    ASSERT_EQ(panel_.results.size(), 2u);
    const std::set<int> builds{ctx_.SearchRows[0].sw_build, ctx_.SearchRows[1].sw_build};
    EXPECT_EQ(builds, (std::set<int>{12, 7}));
}

TEST_P(VehicleSearchTest, ModelWithoutMakeSearchesThatModel) {
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Chevrolet");
    Search().FillModelList();
    Choose(SearchList::Model, u"Camaro");
    Choose(SearchList::Make, u"ALL MAKES");  // a model-list refresh that could not connect
    Search().RunSearch();
    EXPECT_EQ(ListedIds(), ExpectedIds("QD7720R", "", "Camaro", 0, false, false));
    EXPECT_EQ(panel_.resultLabel, u"2 records found for ALL makes Camaro ALL years");
}

TEST_P(VehicleSearchTest, MoreThan512RowsStopAtTheTable) {
    UseScratch();
    std::string insert =
        "INSERT INTO tolvanesw (mfg_id, sw_id, sw_build, vehicle_make, vehicle_model, "
        "vehicle_year_from, vehicle_year_to, vehicle_transmission, sw_valid_status) VALUES ";
    for (int i = 0; i < 600; ++i) {
        insert += (i ? ",(" : "(") + std::string("'QD7720R', ") + std::to_string(5000 + i) +
                  ", 1, 'Zastava', 'Yugo', '2000', '2010', 3, 1)";
    }
    scratch().Exec(insert);
    ctx_.SearchRows[600 - 512].sw_id = -5;
    Search().FillVehicleLists();
    Choose(SearchList::Make, u"Zastava");
    Search().RunSearch();
    EXPECT_EQ(panel_.results.size(), kMaxSearchRows);
    EXPECT_EQ(panel_.resultLabel,
              u"600 records found for Zastava ALL models ALL years, the first 512 are listed");
    EXPECT_GE(ctx_.SearchRows[kMaxSearchRows - 1].sw_id, 5000);
}

TEST_P(VehicleSearchTest, StatementErrorEndsTheSearchWithTheDriversMessage) {
    UseScratch();
    Search().FillVehicleLists();
    Search().RunSearch();
    ASSERT_FALSE(panel_.results.empty());
    scratch().Exec("DROP TABLE tolvanesw");
    Search().RunSearch();
    EXPECT_EQ(panel_.resultLabel, u"Searching...");
    EXPECT_TRUE(panel_.results.empty());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Error);
    EXPECT_NE(ToUtf8(messages_.shown[0].text).find("tolvanesw"), std::string::npos);
    Search().FillVehicleLists();
    EXPECT_EQ(messages_.shown.size(), 2u) << "the make list query fails the same way";
    EXPECT_EQ(ListOf(SearchList::Make).entries.size(), 1u);
}

TEST_P(VehicleSearchTest, SelectResultRowRecordsTheRowAndEnablesInstall) {
    Search().SelectResultRow(3);
    EXPECT_EQ(ctx_.selectedRow, 3);
    EXPECT_TRUE(panel_.installEnabled);
    Search().SelectResultRow(-1);
    EXPECT_EQ(ctx_.selectedRow, -1);
}

TEST_P(VehicleSearchTest, NewSearchDropsTheEarlierSelection) {
    Search().FillVehicleLists();
    Search().RunSearch();
    ASSERT_GT(panel_.results.size(), 2u);
    Search().SelectResultRow(2);
    ASSERT_TRUE(panel_.installEnabled);
    Search().RunSearch();
    EXPECT_EQ(ctx_.selectedRow, -1);
    EXPECT_FALSE(panel_.installEnabled) << "Install must wait for a click on one of the new rows";
}

TELVIX_BOTH_BACKENDS(VehicleSearchTest);

TEST(VehicleSearchOffline, CannotConnect) {
    UpdaterContext ctx;
    ctx.mfg_id = u"QD7720R";
    HarnessSearchPanel panel;
    FakeClock clock;
    FakeMessagePort messages;
    const CatalogueDb db(UnreachableMariaDb(), 15);
    VehicleSearch search(ctx, panel, db, messages, clock, [] { return false; });
    search.FillVehicleLists();
    EXPECT_EQ(panel.lists[0].entries, std::vector<std::u16string>{u"ALL MAKES"});
    EXPECT_EQ(panel.lists[1].entries, std::vector<std::u16string>{u"ALL MODELS"});
    EXPECT_EQ(panel.lists[2].entries.size(), 29u);
    panel.lists[1].entries.push_back(u"Tahoe");
    panel.lists[1].selected = 1;
    search.FillModelList();
    EXPECT_EQ(panel.lists[1].entries.size(), 2u) << "the model list keeps its entries";
    EXPECT_EQ(panel.lists[1].selected, 0);
    panel.results.push_back(ResultRow{u"Ford", u"F-150", u"2012-2016", u"x"});
    search.RunSearch();
    EXPECT_EQ(panel.resultLabel, u"Error: Can't create database connection, please try again latter");
    EXPECT_EQ(panel.results.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
}
