#include "refdata/database_editor.h"
#include "refdata/soil_form.h"
#include "refdata/station_form.h"

#include "location/reference_et.h"
#include "platform/files.h"
#include "platform/work_dir.h"
#include "refdata/database.h"
#include "refdata/units.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <array>

namespace tw {
namespace {

class RecordForms : public ::testing::Test
{
protected:
    test::ScopedWorkDir work_dir;
    test::ScopedMessages messages;
    test::ScopedSettings settings;
};

template<typename Record>
std::vector<std::string> names_of(const DatabaseEditor<Record> &editor)
{
    std::vector<std::string> names;
    for (const Record &r : editor.records())
        names.push_back(r.name);
    return names;
}

TEST_F(RecordForms, SoilAwhcIsAssistedAndKeptInRange)
{
    const struct
    {
        float fc, pwp, awhc_before, awhc_after;
    } assisted[] = {
        {4.0f, 1.5f, 0.001f, 2.5f}, // in/ft, as typed
        {0.0f, 1.5f, 0.7f, 0.7f},   // a moisture value not typed yet gives no help
        {4.0f, 0.0f, 0.7f, 0.7f},
    };
    for (const auto &c : assisted) {
        SoilValues v;
        v.field_capacity = c.fc;
        v.wilting_point = c.pwp;
        v.awhc = c.awhc_before;
        assist_awhc(v);
        EXPECT_FLOAT_EQ(v.awhc, c.awhc_after) << c.fc << " " << c.pwp;
    }
    EXPECT_FLOAT_EQ(SoilValues{}.awhc, 0.001f); // a new soil
    const std::pair<float, bool> ranges[] = {
        {0.0009f, false}, {0.001f, true}, {6.0f, true}, {6.01f, false}};
    for (const auto &[awhc, accepted] : ranges) {
        SoilValues v;
        v.awhc = awhc;
        EXPECT_EQ(!check_soil_values(v).has_value(), accepted) << awhc;
    }
}

TEST_F(RecordForms, SoilListShowsMoistureInTheDisplayUnit)
{
    SoilRecord loam{3, "Loam", "Loam", 0.3425f, 0.1333f, 0.2092f};
    const auto headings = soil_list_headings();
    EXPECT_EQ(std::vector<std::string>(headings.begin(), headings.end()),
              (std::vector<std::string>{"Soil Name", "Soil Type", "SM_FC (in/ft)", "SM_PWP (in/ft)",
                                        "AWHC (in/ft)"}));
    const auto row = soil_list_row(loam);
    EXPECT_EQ(std::vector<std::string>(row.begin(), row.end()),
              (std::vector<std::string>{"Loam", "Loam", "4.110", "1.600", "2.510"}));

    // Stored back in fractions, the names cut to the 15 characters a record holds.
    SoilValues typed = soil_values_of(loam);
    typed.name = "Loam of the north field";
    typed.field_capacity = 3.6f;
    store_soil_values(typed, loam);
    EXPECT_EQ(loam.name, "Loam of the nor");
    EXPECT_NEAR(loam.sm_fc, 0.3f, 1e-6);
}

TEST_F(RecordForms, StationDerivesPressureAndJensenHaiseFromTypedValues)
{
    StationValues v; // a new station: no reference crop chosen, so Kzero and DeltaT are typed
    EXPECT_EQ(v.reference_type, kNoReferenceChosen);
    EXPECT_TRUE(station_k_zero_enabled(v));

    v.elevation = 4662; // ft, about 1421 m
    v.warm_month_tmin = 58.6f;
    v.warm_month_tmax = 88.2f; // °F
    station_elevation_left(v);
    // 1013 - 0.1152 z + 5.44e-6 z² at z = 1421 m: about 860 mb.
    EXPECT_NEAR(v.pressure, 860.3f, 0.2f);
    const JensenHaiseCoefficients jh =
        jensen_haise_coefficients(convert_from(Height, 4662.0f), convert_from(Temperature, 58.6f),
                                  convert_from(Temperature, 88.2f));
    EXPECT_NEAR(v.jh_ct, convert_to(Inv_Temperature, jh.ct), 1e-7);
    EXPECT_NEAR(v.jh_tx, convert_to(Temperature, jh.tx), 1e-4);

    const std::pair<std::int32_t, bool> rule[] = {{0, true}, {1, false}, {2, false}};
    for (const auto &[type, enabled] : rule) {
        v.reference_type = type;
        EXPECT_EQ(station_k_zero_enabled(v), enabled) << type;
    }

    // Stored in internal units; shown again with the elevation's fraction dropped.
    StationRecord station;
    store_station_values(v, station);
    EXPECT_NEAR(station.elevation, 1420.98f, 0.01f);
    EXPECT_NEAR(station.pressure, 860.3f, 0.2f);
    EXPECT_EQ(station_values_of(station).elevation, 4662);
    station.elevation = 1421.0f; // 4662.07 ft
    EXPECT_EQ(station_values_of(station).elevation, 4662);

    v.elevation = -1;
    EXPECT_TRUE(check_station_values(v).has_value());
}

TEST_F(RecordForms, EditorSortsAddedRecordsByTheirBytes)
{
    const struct
    {
        std::string name;
        std::size_t position;
    } cases[] = {{"Adobe", 0}, {"adobe", 13}};
    for (const auto &c : cases) {
        DatabaseEditor<SoilRecord> soils;
        ASSERT_EQ(soils.size(), 13u);
        soils.add({0, c.name, "Clay", 0.3f, 0.1f, 0.2f});
        EXPECT_EQ(names_of(soils)[c.position], c.name);
        EXPECT_EQ(soils.records()[c.position].index, 13);
    }
}

TEST_F(RecordForms, EditorDeletesAfterTheQuestionAndWritesOnlyOnSave)
{
    const auto file = work_file("soil.db");
    DatabaseEditor<SoilRecord> soils;
    const auto before = read_file(file);
    ASSERT_TRUE(before);

    // "Fine Sandy Loam", the third soil: the last one takes its place, then the list is sorted.
    messages->queue_answer(false);
    EXPECT_FALSE(soils.remove(2));
    messages->queue_answer(true);
    EXPECT_TRUE(soils.remove(2));
    EXPECT_EQ(messages->texts(),
              (std::vector<std::string>{
                  "Can't Find Soil Database File!!\nCreating a New Database with Default Soils.",
                  "Are you sure you want to delete Fine Sandy Loam (Fine Sandy Loam)",
                  "Are you sure you want to delete Fine Sandy Loam (Fine Sandy Loam)"}));
    const auto names = names_of(soils);
    EXPECT_EQ(names.size(), 12u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(read_file(file), before);

    ASSERT_TRUE(soils.save());
    DatabaseEditor<SoilRecord> reread;
    EXPECT_EQ(names_of(reread), names);

    DatabaseEditor<StationRecord> stations;
    EXPECT_EQ(delete_question(stations.records()[0]),
              "Are you sure you want to delete Akron from the database");
    stations.replace(0, stations.records()[24], false); // "Kansas" in Akron's place, unsorted
    EXPECT_EQ(names_of(stations)[0], "Kansas");
    EXPECT_EQ(stations.records()[0].index, 0);
}

} // namespace
} // namespace tw
