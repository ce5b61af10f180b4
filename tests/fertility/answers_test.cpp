#include "fertility/answers.h"

#include "fertility_fixtures.h"
#include "platform/files.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(Answers, FileRules)
{
    std::string error;
    const auto parsed = parse_answers("# comment\n\n[ soil_test ]\r\n; another\nSoil pH = 7 = x\n"
                                      "[Preplant (Nitrogen)]\nmaterial=Urea\n",
                                      error);
    ASSERT_TRUE(parsed) << error;
    ASSERT_EQ(parsed->sections.size(), 2u);
    EXPECT_EQ(parsed->sections[0].name, "soil_test");
    EXPECT_EQ(parsed->sections[0].entries[0].key, "Soil pH");
    EXPECT_EQ(parsed->sections[0].entries[0].value, "7 = x");
    EXPECT_EQ(parsed->sections[0].entries[0].line, 5);
    EXPECT_EQ(parsed->sections[1].entries[0].value, "Urea");

    const struct
    {
        const char *text;
        const char *error;
    } refused[] = {
        {"Yield Goal = 3\n", "line 1: an answer is written"},
        {"[results\n", "line 1: a section is written [name]"},
        {"[Soil Test]\n[soil test]\n", "line 2: [soil test] is answered twice"},
        {"[Fertigation #16 (Nitrogen)]\n", "line 1: [Fertigation #16 (Nitrogen)] names no page"},
        {"[evaluation]\nno equals sign\n", "line 2: an answer is written"},
    };
    for (const auto &r : refused) {
        EXPECT_FALSE(parse_answers(r.text, error)) << r.text;
        EXPECT_TRUE(error.starts_with(r.error)) << error;
    }
}

TEST(Answers, ABlendIsMadeOnTheApplicationPage)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    port->set_default_answer(true);
    std::string error;
    auto answers = parse_answers("[evaluation]\nSoil test results available = no\n"
                                 "[Previous Season Data]\nPrevious Crop = Wheat\n"
                                 "[results]\nStarter = yes\nPreplant = no\n"
                                 "[Starter (Nitrogen)]\nSource Material = (New Blend)\n"
                                 "Blend Name = Starter 10-34\n%N = 10\n%P205 = 34\nLiquid = yes\n"
                                 "Volatility Class = NH4-Volatile\nStarter = 150\n"
                                 "Material Phase = Liquid\nApplication Method = Surface Dribble\n"
                                 "Rain Expected = 1\n",
                                 error);
    ASSERT_TRUE(answers) << error;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), 46204);
    ASSERT_TRUE(answer_consultation(c, *answers, error)) << error;
    ASSERT_EQ(c.entries().size(), 1u);
    const ScheduleEntry &e = c.entries()[0];
    EXPECT_EQ(e.material, "Starter 10-34");
    EXPECT_EQ(e.method, "Surface Dribble");
    EXPECT_EQ(e.amount, 150.0f) << "the blend's own maximum for the starter";
    // Kept in the library for later consultations.
    EXPECT_EQ(size_of_file(dir.file("N_FERT.LIB")), 14 * kSourceMaterialSize);

    answers = parse_answers("[evaluation]\nSoil test results available = no\n"
                            "[Previous Season Data]\nPrevious Crop = Wheat\n"
                            "[Preplant (Nitrogen)]\nmaterial = Urea\nstate = Solid\n%N = 12\n",
                            error);
    ASSERT_TRUE(answers);
    FertilizerConsultation refused(inputs, test::corn_field(), 46204);
    EXPECT_FALSE(answer_consultation(refused, *answers, error));
    EXPECT_EQ(error, "line 8: [Preplant (Nitrogen)] %N: a blend's values need \"material = "
                     "(New Blend)\"");
}

} // namespace
} // namespace tw
