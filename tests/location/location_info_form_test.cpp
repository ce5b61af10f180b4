#include "location/location_info_form.h"

#include "location/location_doc.h"
#include "location/reference_et.h"
#include "platform/files.h"
#include "refdata/records.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct ViewSpy : DocumentView
{
    std::vector<ViewHint> hints;
    void on_update(ViewHint hint) override { hints.push_back(hint); }
};

void metric(CustomSettings &cs)
{
    cs.height_unit = 1;
    cs.temperature_unit = 0;
}

// A new-mode form that OK accepts.
LocationInfoForm acceptable(const CLocationDoc &loc)
{
    LocationInfoForm form(loc, SheetMode::New);
    form.set_name("Greeley");
    form.values.start_date = serial_from_civil(2022, 5, 1);
    form.values.latitude = 40.5f;
    return form;
}

TEST(LocationInfoForm, NewModeStartsFromTheDefaultsInDisplayUnits)
{
    test::ScopedSettings settings; // feet
    const CLocationDoc loc;
    const LocationInfoForm form(loc, SheetMode::New);
    EXPECT_EQ(form.values.season_length, 215);
    EXPECT_FLOAT_EQ(form.values.anemometer_height, 2.0f * 3.2808f);
    EXPECT_EQ(form.values.reference_type, 2);
    EXPECT_EQ(form.values.et_method, KimberlyPenman);
    EXPECT_EQ(form.values.start_date, today_serial());
    EXPECT_FALSE(form.delta_t_and_k_zero_enabled());
}

TEST(LocationInfoForm, OkRefusesWhatCannotMakeALocation)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    struct Case
    {
        const char *what;
        void (*change)(LocationInfoForm &);
        std::string message;
    };
    const Case cases[] = {
        {"latitude 0", [](LocationInfoForm &f) { f.values.latitude = 0.0f; },
         "Please click on Station Information tab and enter station data"},
        {"no name", [](LocationInfoForm &f) { f.set_name(""); }, "Please enter a location name"},
        {"99 days", [](LocationInfoForm &f) { f.values.season_length = 99; },
         "Please enter an integer between 100 and 365."},
        {"366 days", [](LocationInfoForm &f) { f.values.season_length = 366; },
         "Please enter an integer between 100 and 365."},
        {"2050", [](LocationInfoForm &f) { f.values.start_date = serial_from_civil(2050, 1, 1); },
         "Please enter a valid Year"},
        {"1949", [](LocationInfoForm &f) { f.values.start_date = serial_from_civil(1949, 12, 31); },
         "Please enter a valid Year"},
        {"separator", [](LocationInfoForm &f) { f.set_name("../up"); },
         "The location name \"../up\" cannot name a file: it contains a path separator."},
        {"dots", [](LocationInfoForm &f) { f.set_name(".."); },
         "The location name \"..\" cannot name a file: it contains \"..\"."},
        {"control", [](LocationInfoForm &f) { f.set_name("a\tb"); },
         "The location name cannot name a file: it contains a control character."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        messages->clear();
        CLocationDoc loc;
        LocationInfoForm form = acceptable(loc);
        c.change(form);
        EXPECT_FALSE(form.accept(loc));
        EXPECT_EQ(messages->texts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(loc.is_modified());
        EXPECT_EQ(loc.name, "");
    }
}

TEST(LocationInfoForm, LatitudeEnteredLetsANewLocationThrough)
{
    test::ScopedSettings settings;
    metric(*settings);
    test::ScopedMessages messages;
    CLocationDoc loc;
    loc.field_names = {"old"};
    LocationInfoForm form = acceptable(loc);
    form.values.latitude = 0.0f;
    EXPECT_FALSE(form.accept(loc));
    form.values.latitude = 40.5f;
    form.values.season_length = 180;
    form.values.elevation = 1425.0f;
    form.elevation_left();
    ASSERT_TRUE(form.accept(loc));
    EXPECT_EQ(loc.name, "Greeley");
    EXPECT_EQ(loc.base_name, "Greeley2022");
    EXPECT_EQ(loc.title(), "Greeley2022 - (Location: Greeley)");
    EXPECT_EQ(loc.day_count(), 180);
    EXPECT_EQ(loc.latitude, 40.5f);
    EXPECT_EQ(loc.elevation, 1425.0f);
    EXPECT_NEAR(loc.pressure, 859.8866f, 1e-3);
    EXPECT_EQ(loc.start_date, StoredDate::from_day(serial_from_civil(2022, 5, 1)));
    EXPECT_TRUE(loc.field_names.empty());
    EXPECT_TRUE(loc.is_modified());
}

TEST(LocationInfoForm, LongNamesKeepFifteenAndFormNineteen)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    LocationInfoForm form = acceptable(loc);
    form.set_name("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(form.values.name, "ABCDEFGHIJKLMNOPQRST");
    ASSERT_TRUE(form.accept(loc));
    EXPECT_EQ(loc.name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(loc.base_name, "ABCDEFGHIJKLMNOPQRS2022");
}

TEST(LocationInfoForm, StationCopyDerivesWhatTheStationLacks)
{
    test::ScopedSettings settings;
    metric(*settings);
    StationRecord station;
    station.name = "Greeley";
    station.elevation = 1425.0f;
    station.latitude = 40.39f;
    station.warm_month_tmin = 13.0f;
    station.warm_month_tmax = 32.0f;
    station.anemometer_height = 3.0f;
    station.reference_type = 0;
    station.delta_t = 2.0f;
    station.k_zero = 1.0f;
    const CLocationDoc loc;
    LocationInfoForm form(loc, SheetMode::New);

    form.choose_station(station);
    const JensenHaiseCoefficients derived = jensen_haise_coefficients(1425.0f, 13.0f, 32.0f);
    EXPECT_EQ(form.values.pressure, pressure_from_elevation(1425.0f));
    EXPECT_EQ(form.values.jh_ct, derived.ct);
    EXPECT_EQ(form.values.jh_tx, derived.tx);
    EXPECT_EQ(form.values.latitude, 40.39f);
    EXPECT_EQ(form.values.elevation, 1425.0f);
    EXPECT_EQ(form.values.anemometer_height, 3.0f);
    EXPECT_EQ(form.values.warm_month_tmax, 32.0f);
    EXPECT_EQ(form.values.delta_t, 2.0f);
    EXPECT_EQ(form.values.k_zero, 1.0f);
    EXPECT_TRUE(form.delta_t_and_k_zero_enabled());

    station.pressure = 863.0f;
    station.jh_ct = 0.02f;
    station.jh_tx = -9.0f;
    station.reference_type = 1;
    form.choose_station(station);
    EXPECT_EQ(form.values.pressure, 863.0f);
    EXPECT_EQ(form.values.jh_ct, 0.02f);
    EXPECT_EQ(form.values.jh_tx, -9.0f);
    EXPECT_FALSE(form.delta_t_and_k_zero_enabled());
}

TEST(LocationInfoForm, StationCopyShowsDisplayUnits)
{
    test::ScopedSettings settings; // feet, °F
    StationRecord station;
    station.elevation = 1000.0f;
    station.latitude = 40.0f;
    station.warm_month_tmax = 30.0f;
    station.pressure = 900.0f;
    station.jh_ct = 0.018f;
    station.jh_tx = -10.0f;
    const CLocationDoc loc;
    LocationInfoForm form(loc, SheetMode::New);
    form.choose_station(station);
    EXPECT_FLOAT_EQ(form.values.elevation, 3280.8f);
    EXPECT_FLOAT_EQ(form.values.warm_month_tmax, 86.0f);
    EXPECT_FLOAT_EQ(form.values.jh_ct, 0.01f);
    EXPECT_FLOAT_EQ(form.values.jh_tx, 14.0f);
}

TEST(LocationInfoForm, LeavingFieldsDerivesPressureAndJensenHaise)
{
    test::ScopedSettings settings;
    metric(*settings);
    const CLocationDoc loc;
    LocationInfoForm form(loc, SheetMode::New);
    form.values.elevation = 1425.0f;
    form.values.warm_month_tmin = 13.0f;
    form.values.warm_month_tmax = 32.0f;
    form.elevation_left();
    EXPECT_EQ(form.values.pressure, pressure_from_elevation(1425.0f));
    EXPECT_EQ(form.values.jh_ct, 0.0f); // not Jensen-Haise
    form.values.et_method = JensenHaise;
    form.warm_month_temperature_left();
    EXPECT_NEAR(form.values.jh_ct, 0.025080983f, 1e-8);
    EXPECT_NEAR(form.values.jh_tx, -9.647263f, 1e-5);
}

TEST(LocationInfoForm, NameAndDateChecksOnLeavingTheFields)
{
    test::ScopedSettings settings;
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    const CLocationDoc loc;
    LocationInfoForm form(loc, SheetMode::New);
    form.values.start_date = serial_from_civil(2022, 5, 1);
    const std::vector<std::string> open = {"Greeley Farm"};
    form.set_name("Greeley Farm East");
    form.name_left(open, dir.path());
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{"This Location already exists in memory!"});
    EXPECT_EQ(form.values.name, "");

    messages->clear();
    const std::uint8_t byte = 0;
    ASSERT_TRUE(write_file_atomic(dir.file("Greeley2022.loc"), {&byte, 1}));
    form.set_name("Greeley");
    form.name_left(open, dir.path());
    EXPECT_EQ(form.base_name(), "Greeley2022");
    EXPECT_EQ(messages->texts(), std::vector<std::string>{"Greeley2022.loc Already exists on disk "
                                                          "but is not currently loaded"});
    messages->clear();
    ASSERT_TRUE(write_file_atomic(dir.file("Greeley2023.LOC"), {&byte, 1}));
    form.values.start_date = serial_from_civil(2023, 5, 1);
    form.start_date_left(dir.path());
    EXPECT_EQ(messages->texts(), std::vector<std::string>{"Greeley2023.LOC already exists on "
                                                          "disk but is not in currently loaded"});
    messages->clear();
    form.values.start_date = serial_from_civil(2050, 5, 1);
    form.start_date_left(dir.path());
    EXPECT_EQ(messages->texts(), std::vector<std::string>{"Please enter a valid Year"});
    EXPECT_EQ(form.base_name(), "Greeley2023");
}

TEST(LocationInfoForm, EditModeResizesAndRecomputes)
{
    test::ScopedSettings settings;
    metric(*settings);
    CLocationDoc loc;
    loc.name = "Greeley";
    loc.latitude = 40.5f;
    loc.start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    loc.field_names = {"a field"};
    for (int i = 0; i < loc.day_count(); ++i) {
        loc.day(i).has_data = 1;
        loc.day(i).t_max = 30.0f;
        loc.day(i).solar_radiation = 600.0f;
    }
    ViewSpy view;
    loc.add_view(&view);

    LocationInfoForm shorter(loc, SheetMode::Edit);
    EXPECT_EQ(shorter.values.season_length, 215);
    shorter.values.season_length = 150;
    shorter.values.et_method = Hargreaves;
    shorter.set_name("ignored in edit mode");
    ASSERT_TRUE(shorter.accept(loc));
    EXPECT_EQ(loc.name, "Greeley");
    EXPECT_EQ(loc.day_count(), 150);
    EXPECT_GT(loc.day(149).etr_used, 0.0f);
    EXPECT_TRUE(loc.field_names.empty());
    EXPECT_TRUE(loc.is_modified());
    EXPECT_EQ(view.hints, std::vector<ViewHint>{ViewHint::everything()});

    LocationInfoForm longer(loc, SheetMode::Edit);
    longer.values.season_length = 215;
    ASSERT_TRUE(longer.accept(loc));
    EXPECT_EQ(loc.day_count(), 215);
    EXPECT_EQ(loc.day(149).t_max, 30.0f);
    for (int i = 150; i < 215; ++i)
        ASSERT_EQ(loc.day(i).has_data, 0) << i;
    loc.remove_view(&view);
}

// The source is kept, refused with its reason, or cleared, by OK; a refused OK changes nothing.
TEST(LocationInfoForm, TheWeatherSourceIsCheckedByOkAndCanBeCleared)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    test::ScopedWorkDir dir; // the presets' file
    CLocationDoc loc;
    loc.name = "Greeley";
    loc.latitude = 40.5f;

    LocationInfoForm form(loc, SheetMode::Edit);
    form.values.source.url = "https://x.example/{station}?from={from}&to={to}";
    form.set_source_columns(" coagmet ");
    EXPECT_FALSE(form.accept(loc)); // {station} without a station
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{"The address has {station} but no station is given."});
    EXPECT_TRUE(loc.source.empty());
    EXPECT_FALSE(loc.is_modified());

    form.values.source.station = "GLY04";
    ASSERT_TRUE(form.accept(loc));
    EXPECT_EQ(loc.source, (WeatherSource{form.values.source.url, "GLY04", "coagmet", "", ""}));

    // A text with '=' is a map; the sheet shows whichever the source has.
    LocationInfoForm edit(loc, SheetMode::Edit);
    EXPECT_EQ(edit.source_columns(), "coagmet");
    edit.set_source_columns("date=Date,t_max=Tmax[C]");
    EXPECT_EQ(edit.values.source.preset, "");
    EXPECT_EQ(edit.source_columns(), "date=Date,t_max=Tmax[C]");
    edit.values.source.forecast_url = "https://x.example/f?from={from}";
    ASSERT_TRUE(edit.accept(loc));
    EXPECT_EQ(loc.source.map, "date=Date,t_max=Tmax[C]");
    EXPECT_EQ(loc.source.forecast_url, "https://x.example/f?from={from}");

    LocationInfoForm clearing(loc, SheetMode::Edit);
    clearing.clear_source();
    EXPECT_EQ(clearing.source_columns(), "");
    ASSERT_TRUE(clearing.accept(loc));
    EXPECT_TRUE(loc.source.empty());
    EXPECT_EQ(loc.source, WeatherSource{});

    // Half a source is not taken for none.
    LocationInfoForm half(loc, SheetMode::Edit);
    half.values.source.station = "GLY04";
    EXPECT_FALSE(half.accept(loc));
    EXPECT_EQ(messages->texts().back(), "The weather source needs an address.");
}

} // namespace
} // namespace tw
