#include "location/day_entry.h"

#include "location/location_doc.h"
#include "location/reference_et.h"
#include "refdata/units.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct FieldSpy : LocationField
{
    std::vector<int> days;
    void weather_changed(int location_day) override { days.push_back(location_day); }
    bool has_unsaved_changes() const override { return false; }
};

struct ViewSpy : DocumentView
{
    std::vector<ViewHint> hints;
    void on_update(ViewHint hint) override { hints.push_back(hint); }
};

void greeley(CLocationDoc &loc)
{
    loc.start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    loc.latitude = 40.3915f;
    loc.elevation = 1425.0f;
    loc.pressure = 860.0f;
}

TEST(DayEntry, OkStoresTheDayFromDisplayUnitsAndComputesIt)
{
    test::ScopedSettings settings; // inches, °F, cal/cm2 day, mi/day
    CLocationDoc loc;
    greeley(loc);
    FieldSpy field;
    ViewSpy view;
    loc.attach_field(&field);
    loc.add_view(&view);
    DayEntry e = day_entry_of(loc, 3);
    EXPECT_FALSE(e.use_alternate_etr);
    e.t_min = 50.0f;
    e.t_max = 86.0f;
    e.rh_min = 20;
    e.rh_max = 53;
    e.solar_radiation = 600.0f;
    e.wind_run = 100.0f;
    e.rain = 1.0f;
    ASSERT_TRUE(apply_day_entry(loc, 3, e));
    const WeatherDay &d = loc.day(3);
    EXPECT_EQ(d.has_data, 1);
    EXPECT_FLOAT_EQ(d.t_min, 10.0f);
    EXPECT_FLOAT_EQ(d.t_max, 30.0f);
    EXPECT_EQ(d.rh_min, 0.2f);
    EXPECT_EQ(d.rh_max, 0.53f);
    EXPECT_EQ(d.solar_radiation, 600.0f);
    EXPECT_FLOAT_EQ(d.wind_run, 160.937f);
    EXPECT_FLOAT_EQ(d.rain, 25.4f);
    EXPECT_EQ(d.alternate_etr, 0.0f);
    EXPECT_GT(d.etr_used, 3.0f);
    EXPECT_TRUE(loc.is_modified());
    EXPECT_EQ(field.days, std::vector<int>{3});
    EXPECT_EQ(view.hints, std::vector<ViewHint>{ViewHint::changed_day(3)});

    // The dialog opened again shows the same whole percents (0.53f × 100 lies below 53).
    const DayEntry again = day_entry_of(loc, 3);
    EXPECT_EQ(again.rh_max, 53);
    EXPECT_EQ(again.rh_min, 20);
    EXPECT_FLOAT_EQ(again.t_max, 86.0f);
    EXPECT_FLOAT_EQ(again.alternate_etr, convert_to(Depth, d.etr_used));
    loc.remove_view(&view);
}

TEST(DayEntry, AlternateEtrTickedWinsAndUntickingClearsIt)
{
    test::ScopedSettings settings;
    settings->depth_unit = 0;
    CLocationDoc loc;
    greeley(loc);
    loc.day(0).alternate_etr = 4.5f;
    DayEntry e = day_entry_of(loc, 0);
    EXPECT_TRUE(e.use_alternate_etr);
    EXPECT_EQ(e.alternate_etr, 4.5f);
    e.alternate_etr = 6.0f;
    ASSERT_TRUE(apply_day_entry(loc, 0, e));
    EXPECT_EQ(loc.day(0).etr_used, 6.0f);

    e.set_use_alternate_etr(false);
    EXPECT_EQ(e.alternate_etr, 0.0f);
    ASSERT_TRUE(apply_day_entry(loc, 0, e));
    EXPECT_EQ(loc.day(0).alternate_etr, 0.0f);

    // ETR: the box is forced on, whatever the entry says.
    loc.et_method = EtrDirect;
    DayEntry forced = day_entry_of(loc, 1);
    EXPECT_TRUE(forced.use_alternate_etr);
    forced.use_alternate_etr = false;
    forced.alternate_etr = 5.0f;
    ASSERT_TRUE(apply_day_entry(loc, 1, forced));
    EXPECT_EQ(loc.day(1).etr_used, 5.0f);
    EXPECT_TRUE(alternate_etr_forced(EtrDirect));
    EXPECT_FALSE(humidity_and_wind_shown(JensenHaise));
    EXPECT_FALSE(humidity_and_wind_shown(Hargreaves));
    EXPECT_TRUE(humidity_and_wind_shown(StandardizedPenman));
}

TEST(DayEntry, CloudCoverClassGivesItsRadiation)
{
    test::ScopedSettings settings;
    settings->cloud_cover_input = 1;
    CLocationDoc loc;
    greeley(loc);
    DayEntry e = day_entry_of(loc, 50); // 20 June, day 171
    EXPECT_TRUE(e.use_cloud_cover);
    e.cloud_cover = 4;
    e.solar_radiation = 999.0f; // not read
    ASSERT_TRUE(apply_day_entry(loc, 50, e));
    EXPECT_EQ(loc.day(50).cloud_cover, 4);
    EXPECT_NEAR(loc.day(50).solar_radiation,
                0.2 * radiation_from_cloud_cover(0, 171, 40.3915f, 1425.0f), 1e-3);
}

TEST(DayEntry, RefusedEntriesChangeNothing)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    CLocationDoc loc;
    greeley(loc);
    struct Case
    {
        int rh_min, rh_max, cloud;
        bool use_cloud_cover;
    };
    const Case cases[] = {{101, 50, 0, false}, {10, -1, 0, false}, {10, 50, 5, true}};
    for (const Case &c : cases) {
        DayEntry e = day_entry_of(loc, 0);
        e.rh_min = c.rh_min;
        e.rh_max = c.rh_max;
        e.cloud_cover = c.cloud;
        e.use_cloud_cover = c.use_cloud_cover;
        EXPECT_FALSE(apply_day_entry(loc, 0, e));
    }
    EXPECT_EQ(messages->texts(),
              (std::vector<std::string>{"Please enter an integer between 0 and 100.",
                                        "Please enter an integer between 0 and 100.",
                                        "Please choose a cloud cover class."}));
    EXPECT_EQ(loc.day(0).has_data, 0);
    EXPECT_FALSE(loc.is_modified());
}

} // namespace
} // namespace tw
