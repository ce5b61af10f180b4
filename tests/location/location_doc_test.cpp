#include "location/location_doc.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct FieldSpy : LocationField
{
    std::vector<int> days;
    bool unsaved = false;
    void weather_changed(int location_day) override { days.push_back(location_day); }
    bool has_unsaved_changes() const override { return unsaved; }
};

TEST(LocationDoc, NewLocationDefaults)
{
    const CLocationDoc loc;
    EXPECT_EQ(loc.day_count(), 215);
    EXPECT_EQ(loc.anemometer_height, 2.0f);
    EXPECT_EQ(loc.reference_type, 2);
    EXPECT_EQ(loc.et_method, KimberlyPenman);
    EXPECT_EQ(loc.start_date, StoredDate::from_day(today_serial()));
    EXPECT_TRUE(loc.field_names.empty());
}

TEST(LocationDoc, RecomputeAllSetsHasDataByTheEquationsInputs)
{
    test::ScopedSettings settings;
    enum Only { Humidity, Radiation, AlternateEtr, Nothing };
    const auto day_with = [](Only only) {
        WeatherDay d;
        d.has_data = 1;
        switch (only) {
        case Humidity:
            d.rh_min = 0.3f;
            d.wind_run = 100.0f;
            break;
        case Radiation: d.solar_radiation = 500.0f; break;
        case AlternateEtr: d.alternate_etr = 5.0f; break;
        case Nothing: break;
        }
        d.etr = d.etr_used = 9.0f;
        return d;
    };
    struct Case
    {
        std::int32_t method;
        int expected[4]; // has_data after recompute_all, by Only
    };
    const Case cases[] = {
        {KimberlyPenman, {1, 1, 0, 0}}, {StandardizedPenman, {1, 1, 0, 0}},
        {JensenHaise, {0, 1, 0, 0}},    {Hargreaves, {0, 1, 0, 0}},
        {EtrDirect, {0, 0, 1, 0}},      {9, {1, 1, 1, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.method);
        CLocationDoc loc;
        loc.latitude = 40.0f;
        loc.et_method = c.method;
        for (int k = 0; k < 4; ++k)
            loc.day(k) = day_with(static_cast<Only>(k));
        FieldSpy field;
        loc.attach_field(&field);
        loc.recompute_all();
        EXPECT_EQ(field.days, std::vector<int>{0});
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(loc.day(k).has_data, c.expected[k]) << k;
            // A day left without data keeps its stored ETr.
            if (!c.expected[k]) {
                EXPECT_EQ(loc.day(k).etr_used, 9.0f) << k;
            }
        }
    }
}

TEST(LocationDoc, ComputeDayTellsTheFieldsUnlessQuiet)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    loc.et_method = EtrDirect;
    loc.day(7).has_data = 1;
    loc.day(7).alternate_etr = 5.0f;
    FieldSpy a, b;
    loc.attach_field(&a);
    loc.attach_field(&b);
    loc.attach_field(&a);
    EXPECT_TRUE(loc.compute_day(7, true));
    EXPECT_TRUE(a.days.empty());
    EXPECT_TRUE(loc.compute_day(7, false));
    EXPECT_EQ(a.days, std::vector<int>{7});
    EXPECT_EQ(b.days, std::vector<int>{7});
    EXPECT_EQ(loc.day(7).etr, 5.0f);
    EXPECT_EQ(loc.day(7).etr_used, 5.0f);
    EXPECT_FALSE(loc.compute_day(8, false));
    EXPECT_EQ(a.days.size(), 1u);
}

TEST(LocationDoc, TitleNamesTheLocation)
{
    CLocationDoc loc;
    loc.name = "Greeley";
    loc.set_title("Greeley2022");
    EXPECT_EQ(loc.title(), "Greeley2022 - (Location: Greeley)");
}

TEST(LocationDoc, ClosingWaitsForModifiedFields)
{
    test::ScopedMessages messages;
    CLocationDoc loc;
    FieldSpy clean, dirty;
    loc.attach_field(&clean);
    EXPECT_TRUE(loc.can_close());
    dirty.unsaved = true;
    loc.attach_field(&dirty);
    EXPECT_FALSE(loc.can_close());
    EXPECT_EQ(messages->texts(), std::vector<std::string>{"Please close all modified fields "
                                                          "using Location Weather First"});
    loc.detach_field(&dirty);
    EXPECT_TRUE(loc.can_close());
    EXPECT_EQ(loc.collect_fields().size(), 1u);
}

} // namespace
} // namespace tw
