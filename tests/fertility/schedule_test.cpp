#include "fertility/schedule.h"

#include "fertility_fixtures.h"
#include "platform/record_codec.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using test::PlannedApplication;
using test::ScriptedChooser;

constexpr int kSolid = 0, kLiquid = 1, kGas = 2;

TEST(Schedule, CombinationCodesAndSlots)
{
    const struct
    {
        PhaseChoice phases;
        int code;
        std::size_t slots;
    } cases[] = {
        {{false, false, false, false, 0}, 0, 0}, {{true, false, false, false, 0}, 1, 1},
        {{false, true, false, false, 0}, 2, 1},  {{false, false, true, false, 0}, 3, 1},
        {{false, false, false, true, 2}, 4, 2},  {{true, true, false, false, 0}, 5, 2},
        {{true, false, true, false, 0}, 6, 2},   {{true, false, false, true, 1}, 7, 2},
        {{false, true, true, false, 0}, 8, 2},   {{false, true, false, true, 3}, 9, 4},
        {{false, false, true, true, 1}, 10, 2},  {{true, true, true, false, 0}, 11, 3},
        {{true, false, true, true, 2}, 12, 4},   {{true, true, false, true, 1}, 13, 3},
        {{false, true, true, true, 1}, 14, 3},   {{true, true, true, true, 4}, 15, 7},
        {{false, false, false, true, 0}, 0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(combination_code(c.phases), c.code) << c.code;
        EXPECT_EQ(schedule_slots(c.phases).size(), c.slots) << c.code;
    }
    const auto slots = schedule_slots({true, false, true, true, 2});
    EXPECT_EQ(phase_name(slots[0]), "Preplant");
    EXPECT_EQ(phase_name(slots[1]), "PostEmergence");
    EXPECT_EQ(phase_name(slots[3]), "Fertigation #2");
}

TEST(Schedule, FertigationWeights)
{
    EXPECT_NEAR(fertigation_weight(1, 3), 0.409, 5e-4);
    EXPECT_NEAR(fertigation_weight(2, 3), 0.545, 5e-4);
    EXPECT_NEAR(fertigation_weight(3, 3), 0.409, 5e-4);
    EXPECT_NEAR(fertigation_weight(1, 3) + fertigation_weight(2, 3) + fertigation_weight(3, 3),
                1.364, 5e-4);
    EXPECT_EQ(fertigation_weight(1, 2), 0.5);
    EXPECT_EQ(fertigation_weight(2, 2), 0.5);
    EXPECT_EQ(fertigation_weight(1, 1), 1.0);
    EXPECT_EQ(fertigation_weight(1, 0), 0.0);
    // Weights are symmetric about the middle of the season and largest there.
    EXPECT_NEAR(fertigation_weight(1, 6), fertigation_weight(6, 6), 1e-12);
    EXPECT_GT(fertigation_weight(3, 6), fertigation_weight(1, 6));
}

ScheduleRequest request(PhaseChoice phases, float n, float p = 0, float k = 0)
{
    ScheduleRequest r;
    r.phases = phases;
    r.nitrogen = n;
    r.phosphorus = p;
    r.potassium = k;
    return r; // pH 8 (alkaline), CEC 20 (class 1)
}

TEST(Schedule, StarterAndPostEmergencePlanNoStarterNitrogen)
{
    test::ScopedWorkDir dir;
    ScriptedChooser chooser;
    chooser.plan["PostEmergence (Nitrogen)"] = {"Urea", kSolid, "Side Dress", 0};
    const auto entries =
        build_schedule(request({false, true, true, false, 0}, 100.0f), read_rec_kb(), chooser);
    EXPECT_EQ(chooser.asked, std::vector<std::string>{"PostEmergence (Nitrogen)"});
    ASSERT_EQ(entries.size(), 1u);
    // Urea is alkaline; side dress is method class 2: loss factor 1.05.
    EXPECT_NEAR(entries[0].amount, 100.0 * 1.05 * 0.7 / 46.0 * 100.0, 1e-3);
    EXPECT_NEAR(entries[0].nitrogen, 69.825, 1e-3);
    EXPECT_EQ(entries[0].phase, PhasePostEmergence);
    EXPECT_EQ(entries[0].method, "Side Dress");
}

TEST(Schedule, NitrogenOfAPhosphorusMaterialIsCreditedInItsSlot)
{
    test::ScopedWorkDir dir;
    ScriptedChooser chooser;
    chooser.plan["Preplant (Phosphorus)"] = {"Diammonium Phosphate", kSolid, "Inject / Knife", 0};
    chooser.plan["Preplant (Nitrogen)"] = {"Anhydrous Ammonia", kGas, "Inject / Knife", 0};
    const auto entries = build_schedule(request({true, false, false, false, 0}, 150.0f, 46.0f),
                                        read_rec_kb(), chooser);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].material, "Diammonium Phosphate");
    EXPECT_NEAR(entries[0].amount, 100.0, 1e-3);
    EXPECT_NEAR(entries[0].phosphorus, 46.0, 1e-3);
    EXPECT_NEAR(entries[0].nitrogen, 16.2, 1e-3); // (2 - 1.1) x 18 % of 100 lb
    EXPECT_NEAR(entries[1].amount, 168.0658, 1e-3);

    chooser.plan.erase("Preplant (Phosphorus)");
    const auto alone = build_schedule(request({true, false, false, false, 0}, 150.0f, 46.0f),
                                      read_rec_kb(), chooser);
    ASSERT_EQ(alone.size(), 1u) << "a cancelled page leaves its application out";
    EXPECT_NEAR(alone[0].amount, 188.4146, 1e-3);
}

TEST(Schedule, AmountsAreCutToTheMaterialsMaximum)
{
    test::ScopedWorkDir dir;
    ScriptedChooser chooser;
    chooser.plan["Preplant (Nitrogen)"] = {"Calcium Nitrate", kSolid, "Surface Broadcast", 0};
    const auto entries =
        build_schedule(request({true, false, false, false, 0}, 500.0f), read_rec_kb(), chooser);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].amount, 300.0f);
    // 300 lb of a 16 % material, less the loss factor of 1.01 of a stable one: the page says so.
    EXPECT_EQ(schedule_table(entries, {500.0f, 0.0f, 0.0f}).shortfalls,
              std::vector<std::string>{"The schedule supplies 47 of 500 lb N/acre: add a phase or "
                                       "fertigations, or choose another material."});
}

// A shortfall of half a pound or more gets a line with the page's figures: the truncated total
// and recommendation.
TEST(Schedule, EachNutrientLeftShortGetsOneLine)
{
    const auto line = [](const char *supplied, const char *needed, const char *unit) {
        return std::string("The schedule supplies ") + supplied + " of " + needed + " lb " + unit +
               "/acre: add a phase or fertigations, or choose another material.";
    };
    std::vector<ScheduleEntry> entries(2);
    entries[0].nitrogen = 120.0f;
    entries[0].potassium = 30.0f;
    entries[1].nitrogen = 79.5f;
    const struct
    {
        NutrientNeeds needs;
        std::vector<std::string> lines;
    } cases[] = {
        // 199.5 is half a pound short of 200: no line; 199.49 would get one.
        {{200.0f, 0.0f, 30.0f}, {}},
        {{200.6f, 0.0f, 30.0f}, {line("199", "200", "N")}},
        // Phosphorus that no application brings, potassium beyond what was asked.
        {{150.0f, 46.0f, 20.0f}, {line("0", "46", "P2O5")}},
        {{0.0f, 0.0f, 45.0f}, {line("30", "45", "K2O")}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(schedule_table(entries, c.needs).shortfalls, c.lines)
            << c.needs.nitrogen << " " << c.needs.phosphorus << " " << c.needs.potassium;
    }
    entries[1].nitrogen = 79.49f;
    EXPECT_EQ(schedule_table(entries, {200.0f, 0.0f, 30.0f}).shortfalls,
              std::vector<std::string>{line("199", "200", "N")});
    EXPECT_TRUE(schedule_table({}, {}).shortfalls.empty());
}

TEST(Schedule, FertigationsExpectRainAndFollowTheWeights)
{
    test::ScopedWorkDir dir;
    ScriptedChooser chooser;
    for (const char *title :
         {"Fertigation #1 (Nitrogen)", "Fertigation #2 (Nitrogen)", "Fertigation #3 (Nitrogen)"})
        chooser.plan[title] = {"Urea Ammonium Nitrate (UAN)", kLiquid, "Sprinkler Applicate", 0};
    const auto entries = build_schedule(request({false, false, false, true, 3}, 90.0f, 40.0f),
                                        read_rec_kb(), chooser);
    ASSERT_EQ(entries.size(), 3u) << "no phosphorus is planned in fertigations";
    // Alkaline material, method class 0, CEC class 1, rain forced to "more than .25 inches".
    const double e = 1.1;
    for (int k = 1; k <= 3; ++k) {
        const ScheduleEntry &entry = entries[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(entry.fertigation_number, k);
        EXPECT_NEAR(entry.amount, 90.0 * e * fertigation_weight(k, 3) / 32.0 * 100.0, 1e-3);
    }
}

// A soil is acid below pH 7.0 and falls in CEC class 0 below 10, 1 from 10 to 25 and 2 above 25:
// each boundary picks the loss factor of its own class. Every word of the factor table is made
// distinct so that a wrong class cannot read an equal factor by chance.
TEST(Schedule, LossFactorClassesChangeAtTheirBoundaries)
{
    std::vector<std::uint8_t> image = default_rec_kb_image();
    // The factors fill REC.KB from word 447, after the method names and descriptions.
    for (std::size_t word = 447; word < kRecKbSize / 4; ++word)
        codec::put_f32(image, 4 * word, static_cast<float>(word));
    const ScheduleKnowledge knowledge(std::move(image));
    SourceMaterial material;
    material.volatility = 2;
    ApplicationMethod method;
    method.class_value = 1;
    const int rain = 1;
    const struct
    {
        float ph, cec;
        int acid, cec_class;
    } cases[] = {
        {6.99f, 20.0f, 1, 1}, {7.0f, 20.0f, 0, 1}, {7.01f, 20.0f, 0, 1}, {8.0f, 9.99f, 0, 0},
        {8.0f, 10.0f, 0, 1},  {8.0f, 25.0f, 0, 1}, {8.0f, 25.01f, 0, 2}, {6.0f, 0.0f, 1, 0},
    };
    for (const auto &c : cases) {
        ScheduleRequest request;
        request.soil_ph = c.ph;
        request.cec = c.cec;
        EXPECT_EQ(application_loss_factor(knowledge, request, material, method, rain),
                  knowledge.loss_factor(c.acid, material.volatility, method.class_value,
                                        c.cec_class, rain))
            << "pH " << c.ph << ", CEC " << c.cec;
    }
}

TEST(Schedule, ApplicationPageRules)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    const ScheduleKnowledge k = read_rec_kb();
    ApplicationPage page({PhaseFertigation, 2}, LibNitrogen, lib_LoadForPhase(LibNitrogen, 3), k);
    EXPECT_EQ(page.title(), "Fertigation #2 (Nitrogen)");
    EXPECT_FALSE(page.rain_enabled());
    page.select_rain(0);
    EXPECT_EQ(page.rain(), 2);

    EXPECT_FALSE(page.open_method_list());
    EXPECT_FALSE(page.accept());
    page.select_material(4); // Anhydrous Ammonia
    EXPECT_FALSE(page.open_method_list());
    EXPECT_TRUE(page.state_enabled(kGas));
    EXPECT_TRUE(page.select_state(kGas));
    const auto methods = page.open_method_list();
    ASSERT_TRUE(methods);
    ASSERT_EQ(methods->size(), 1u);
    EXPECT_EQ(page.method()->name, "Other") << "a single method is selected at once";
    EXPECT_TRUE(page.accept());

    page.select_material(10); // Urea: no gas
    EXPECT_FALSE(page.state_enabled(kGas));
    EXPECT_FALSE(page.state());
    EXPECT_FALSE(page.method());

    const std::vector<std::string> expected = {
        "Please select material and application phase before application method",
        "Please select application method before continuing",
        "Please select application phase before application method",
    };
    EXPECT_EQ(port->texts(), expected);
    EXPECT_EQ(port->entries()[0].caption, "No material specified");
    EXPECT_EQ(port->entries()[1].caption, "No application method specified");
    EXPECT_EQ(port->entries()[2].caption, "No Phase");
}

TEST(Schedule, ANewBlendBecomesTheMaterial)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    port->set_default_answer(false);
    const ScheduleKnowledge k = read_rec_kb();
    ApplicationPage page({PhaseStarter, 0}, LibNitrogen, lib_LoadForPhase(LibNitrogen, 1), k);
    BlendForm form;
    form.name = "Starter Mix";
    form.n_percent = 10;
    form.p_percent = 34;
    EXPECT_FALSE(page.use_new_blend(form)) << "no state allowed";
    form.liquid = true;
    ASSERT_TRUE(page.use_new_blend(form));
    EXPECT_EQ(material_label(*page.material()), "Starter Mix (10-34-0)");
    EXPECT_FALSE(page.state_enabled(kSolid));
    EXPECT_EQ(port->texts().back(),
              "Do You wish to permanently save this blend in the Fertilizer Library");
}

TEST(Schedule, TableRowsAndTruncatedTotals)
{
    std::vector<ScheduleEntry> entries(3);
    entries[0] = {PhasePreplant, 0,    "Diammonium Phosphate", "Inject / Knife", 11.5f, 30.0f,
                  0.0f,          65.2f};
    entries[1] = {PhasePreplant, 0,    "Anhydrous Ammonia", "Inject / Knife", 21.9f, 0.0f,
                  0.0f,          26.9f};
    entries[2] = {PhaseFertigation, 2, "Urea", "Sprinkler Applicate", 14.8f, 0.0f, 0.5f, 47.7f};
    const ScheduleTable table = schedule_table(entries);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0], (std::array<std::string, 7>{"Preplant:", "Diammonium Phosphate", "65",
                                                         "Inject / Knife", "11", "30", "0"}));
    EXPECT_EQ(table.rows[2][0], "Fertigation #2");
    EXPECT_EQ(table.total_nitrogen, 11 + 21 + 14);
    EXPECT_EQ(table.total_phosphorus, 30);
    EXPECT_EQ(table.total_potassium, 0);
}

} // namespace
} // namespace tw
