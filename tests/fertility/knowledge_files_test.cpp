#include "fertility/knowledge_files.h"
#include "fertility/mass_balance_table.h"
#include "fertility/source_library.h"

#include "platform/files.h"
#include "platform/record_codec.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace tw {
namespace {

std::vector<std::string> names(const std::vector<ApplicationMethod> &methods)
{
    std::vector<std::string> out;
    for (const ApplicationMethod &m : methods)
        out.push_back(m.name);
    return out;
}

TEST(KnowledgeFiles, MissingFilesAreCreatedWithTheirDefaultSizes)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    EXPECT_EQ(lib_Count(lib_Open(LibNitrogen)), 13u);
    EXPECT_EQ(lib_Count(lib_Open(LibPhosphorus)), 11u);
    EXPECT_EQ(lib_Count(lib_Open(LibPotassium)), 4u);
    MassBalanceTable table;
    kb_ReadNMethod2Table(table);
    read_input_kb();
    read_rec_kb();

    const struct
    {
        const char *file;
        std::uintmax_t size;
    } cases[] = {{"N_FERT.LIB", 988},   {"P_FERT.LIB", 836}, {"K_FERT.LIB", 304},
                 {"METHOD_2.KB", 1036}, {"INPUT.KB", 168},   {"REC.KB", 2868}};
    for (const auto &c : cases)
        EXPECT_EQ(size_of_file(dir.file(c.file)), c.size) << c.file;
    // Only the missing METHOD_2.KB is announced; its answer does not matter.
    ASSERT_EQ(port->entries().size(), 1u);
    EXPECT_EQ(port->entries()[0].caption, "Cant Find Method 2 Knowledge Base File! ");

    EXPECT_EQ(table.values, default_mass_balance_table().values);
    EXPECT_EQ(*read_file(dir.file("METHOD_2.KB")), encode_mass_balance_table(table));
}

TEST(KnowledgeFiles, DefaultGroupsHoldTheirTables)
{
    const MassBalanceTable t = default_mass_balance_table();
    EXPECT_EQ(t.background(7), 10.0f);
    EXPECT_EQ(t.background(11), 14.0f);
    EXPECT_EQ(t.om_a(), 0.58f);
    EXPECT_EQ(t.residue_n(3, 0), 26.4f);  // Corn, High
    EXPECT_EQ(t.residue_n(25, 2), 12.0f); // Tomatoes, Low
    EXPECT_EQ(t.residue_factor(25), 3.2f);
    EXPECT_EQ(t.legume_n(6, 2), 2.4f); // Legume Grass, Low
    EXPECT_EQ(t.availability(1, 1, 3), 0.85f);
    EXPECT_EQ(t.mineralization(1, 5), std::make_pair(0.9f, 0.04f)); // Swine liquid
    EXPECT_EQ(t.default_n(0, 6), 1.0f);
    EXPECT_EQ(t.default_moisture(1, 6), 70.0f);
    EXPECT_EQ(t.denitrification_percent(3, 4), 55.0f);
    // Choices never made, or out of range, read nothing.
    EXPECT_EQ(t.background(-1), 0.0f);
    EXPECT_EQ(t.residue_n(-1, 1), 0.0f);
    EXPECT_EQ(t.availability(-1, 0, 0), 0.0f);
    EXPECT_EQ(t.mineralization(0, 7), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(t.denitrification_percent(4, 0), 0.0f);
}

TEST(KnowledgeFiles, Method2TableThatIsShortOrCannotBeCreatedFallsBackToTheDefaults)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    MassBalanceTable edited = default_mass_balance_table();
    edited.values[20] = 0.75f;
    std::vector<std::uint8_t> bytes = encode_mass_balance_table(edited);
    bytes.push_back(0xAB); // a longer file is read up to the table's size
    ASSERT_TRUE(write_file_atomic(dir.file("METHOD_2.KB"), bytes));
    MassBalanceTable table;
    EXPECT_EQ(kb_ReadNMethod2Table(table), 1);
    EXPECT_EQ(table.om_a(), 0.75f);
    EXPECT_TRUE(port->entries().empty());

    bytes.resize(1000);
    ASSERT_TRUE(write_file_atomic(dir.file("METHOD_2.KB"), bytes));
    EXPECT_EQ(kb_ReadNMethod2Table(table), 1);
    EXPECT_EQ(table.om_a(), 0.58f);
    EXPECT_EQ(port->texts().back(), "ERROR: Couldn't Read Method 2 Knowledge Base File!");
    EXPECT_EQ(size_of_file(dir.file("METHOD_2.KB")), 1000u) << "a short file is not re-created";

    std::filesystem::remove(dir.file("METHOD_2.KB"));
    std::filesystem::create_directory(dir.file("METHOD_2.KB"));
    port->clear();
    table.values.fill(9.0f);
    EXPECT_EQ(kb_ReadNMethod2Table(table), 1);
    EXPECT_EQ(table.values, default_mass_balance_table().values);
    EXPECT_EQ(port->texts().back(),
              "ERROR: Can't Open Method 2 Knowledge Base File in kb_CreateNMethod2Table()!\n"
              "cannot write " +
                  dir.file("METHOD_2.KB").string() + ": not a regular file");
}

TEST(KnowledgeFiles, MethodsOfferedByPhaseAndState)
{
    test::ScopedWorkDir dir;
    const ScheduleKnowledge k = read_rec_kb();
    const std::vector<std::string> starter_solid = {
        "Band Applicate", "Inject / Knife", "Pop Up Applicate", "Surface Broadcast", "Other"};
    const std::vector<std::string> fertigation_liquid = {"Sprinkler Applicate", "Top Dress",
                                                         "Other"};
    EXPECT_EQ(names(k.methods_offered(1, 0)), starter_solid);
    EXPECT_EQ(names(k.methods_offered(3, 1)), fertigation_liquid);
    EXPECT_EQ(names(k.methods_offered(2, 2)), (std::vector<std::string>{"Side Dress", "Other"}));
    const auto popup = k.methods_offered(1, 0)[2];
    EXPECT_EQ(popup.class_value, 1);
    EXPECT_EQ(popup.description, "Placement With the Seed");
    EXPECT_TRUE(k.methods_offered(4, 0).empty());
}

TEST(KnowledgeFiles, FractionsAndLossFactors)
{
    const ScheduleKnowledge k(default_rec_kb_image());
    const struct
    {
        int code, phase;
        float n, pk;
    } fractions[] = {{8, 1, 0.0f, 1.0f}, {8, 2, 0.7f, 0.0f},  {8, 3, 0.3f, 0.0f},
                     {4, 3, 1.0f, 0.0f}, {15, 0, 0.2f, 0.0f}, {12, 0, 0.3f, 1.0f}};
    for (const auto &f : fractions) {
        EXPECT_EQ(k.n_fraction(f.code, f.phase), f.n) << f.code << "/" << f.phase;
        EXPECT_EQ(k.p_fraction(f.code, f.phase), f.pk) << f.code << "/" << f.phase;
        EXPECT_EQ(k.k_fraction(f.code, f.phase), f.pk) << f.code << "/" << f.phase;
    }
    EXPECT_EQ(k.n_fraction(0, 0), 0.0f);
    EXPECT_EQ(k.n_fraction(16, 0), 0.0f);

    const struct
    {
        int acid, volatility, method_class, cec_class;
        float rain0, rain1, rain2;
    } losses[] = {
        {0, 2, 0, 0, 3.0f, 2.9f, 2.8f},    {1, 2, 0, 0, 2.0f, 1.9f, 1.8f},
        {0, 0, 0, 0, 1.01f, 1.01f, 1.0f},  {1, 1, 0, 0, 1.4f, 1.3f, 1.05f},
        {0, 4, 1, 1, 1.14f, 1.11f, 1.08f}, {1, 3, 2, 1, 1.02f, 1.01f, 1.0f},
    };
    for (const auto &l : losses) {
        EXPECT_EQ(k.loss_factor(l.acid, l.volatility, l.method_class, l.cec_class, 0), l.rain0);
        EXPECT_EQ(k.loss_factor(l.acid, l.volatility, l.method_class, l.cec_class, 1), l.rain1);
        EXPECT_EQ(k.loss_factor(l.acid, l.volatility, l.method_class, l.cec_class, 2), l.rain2);
    }
    for (int acid = 0; acid < 2; ++acid) {
        for (int v = 0; v < 5; ++v)
            EXPECT_EQ(k.loss_factor(acid, v, 2, 2, 0), 1.0f) << acid << "/" << v;
    }
    EXPECT_EQ(k.loss_factor(0, 5, 0, 0, 0), 1.0f) << "an unknown volatility loses nothing";
}

TEST(KnowledgeFiles, EditedAndShortInputKb)
{
    test::ScopedWorkDir dir;
    EXPECT_EQ(read_input_kb().flag(23), 1);
    EXPECT_EQ(read_input_kb().flag(22), 0) << "Peas";
    EXPECT_EQ(read_input_kb().flag(-1), 0);

    std::vector<std::uint8_t> image = default_input_kb_image();
    codec::put_i32(image, 4 * 3, 2);
    ASSERT_TRUE(write_file_atomic(dir.file("INPUT.KB"), image));
    EXPECT_EQ(read_input_kb().flag(3), 2);

    image.resize(40);
    ASSERT_TRUE(write_file_atomic(dir.file("INPUT.KB"), image));
    EXPECT_EQ(read_input_kb().flag(3), 0) << "a short file serves the defaults";
    EXPECT_EQ(read_input_kb().flag(0), 1);
    EXPECT_EQ(size_of_file(dir.file("INPUT.KB")), 40u);

    std::vector<std::uint8_t> rec(100, 0xFF);
    ASSERT_TRUE(write_file_atomic(dir.file("REC.KB"), rec));
    EXPECT_EQ(read_rec_kb().n_fraction(1, 0), 1.0f);
}

TEST(SourceLibrary, DefaultsAndPhases)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    const auto n = default_materials(LibNitrogen);
    EXPECT_EQ(material_label(n[4]), "Anhydrous Ammonia (82-0-0)");
    EXPECT_EQ(n[4].gas, 1);
    EXPECT_EQ(n[4].volatility, 2);
    EXPECT_EQ(material_label(default_materials(LibPhosphorus)[8]),
              "Diammonium Phosphate (18-46-0)");
    EXPECT_EQ(material_label(default_materials(LibPotassium)[3]), "Potassium Nitrate (13-0-44)");

    EXPECT_EQ(lib_LoadForPhase(LibNitrogen, 3).size(), 13u);
    EXPECT_TRUE(port->entries().empty());
    EXPECT_TRUE(lib_LoadForPhase(LibPhosphorus, 3).empty());
    EXPECT_EQ(port->texts(),
              std::vector<std::string>{"No Valid Fertilizers Found in Fertilizer Library!!"});
}

TEST(SourceLibrary, TrailingPartialRecordIsIgnoredAndBlendsAppendAfterTheLastWholeOne)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    std::vector<std::uint8_t> bytes = lib_Open(LibPotassium);
    bytes.resize(bytes.size() + 30, 0x41);
    ASSERT_TRUE(write_file_atomic(dir.file("K_FERT.LIB"), bytes));
    EXPECT_EQ(lib_Count(lib_Open(LibPotassium)), 4u);

    BlendForm form;
    form.name = "Farm Mix";
    form.n_percent = 10;
    form.k_percent = 20;
    form.liquid = true;
    form.max_application[2] = 0;
    const auto blend = accept_blend(form, LibPotassium);
    ASSERT_TRUE(blend);
    port->queue_answer(true);
    EXPECT_TRUE(offer_to_save_blend(*blend, LibPotassium));
    EXPECT_EQ(size_of_file(dir.file("K_FERT.LIB")), 5 * kSourceMaterialSize);
    const auto starter = lib_LoadForPhase(LibPotassium, 1);
    ASSERT_EQ(starter.size(), 5u);
    EXPECT_EQ(material_label(starter.back()), "Farm Mix (10-0-20)");
    EXPECT_EQ(lib_LoadForPhase(LibPotassium, 2).size(), 4u);

    port->queue_answer(false);
    EXPECT_FALSE(offer_to_save_blend(*blend, LibPotassium));
    EXPECT_EQ(size_of_file(dir.file("K_FERT.LIB")), 5 * kSourceMaterialSize);
}

TEST(SourceLibrary, BlendsMustCarryTheirNutrientAndAState)
{
    test::ScopedMessages port;
    BlendForm form;
    form.solid = true;
    form.p_percent = 20;
    const struct
    {
        LibraryType type;
        const char *message;
    } cases[] = {{LibNitrogen, "Blend must contain nitrogen"},
                 {LibPotassium, "Blend must contain Potassium"}};
    for (const auto &c : cases) {
        EXPECT_FALSE(accept_blend(form, c.type));
        EXPECT_EQ(port->entries().back().text, c.message);
        EXPECT_EQ(port->entries().back().caption, "Blend Unacceptable");
    }
    EXPECT_TRUE(accept_blend(form, LibPhosphorus));
    form.solid = false;
    EXPECT_FALSE(accept_blend(form, LibPhosphorus));
    EXPECT_EQ(port->entries().back().text, "You must allow at least one application phase");
    EXPECT_EQ(port->entries().back().caption, "No Phase");
}

TEST(KnowledgeFiles, FilesOfAnySizeOrContentAreReadSafely)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    std::mt19937 random(7);
    for (const std::size_t size : {0u, 1u, 75u, 77u, 1035u, 2867u, 5000u}) {
        std::vector<std::uint8_t> junk(size);
        for (auto &b : junk)
            b = static_cast<std::uint8_t>(random());
        for (const char *file : {"N_FERT.LIB", "METHOD_2.KB", "INPUT.KB", "REC.KB"})
            ASSERT_TRUE(write_file_atomic(dir.file(file), junk));
        const auto materials = lib_Read(lib_Open(LibNitrogen), lib_Count(lib_Open(LibNitrogen)));
        EXPECT_EQ(materials.size(), size / kSourceMaterialSize);
        for (const SourceMaterial &m : materials) {
            for (int phase = -1; phase < 5; ++phase)
                m.max_for_phase(phase);
        }
        MassBalanceTable table;
        kb_ReadNMethod2Table(table);
        const ScheduleKnowledge k = read_rec_kb();
        for (int phase = 0; phase < 4; ++phase) {
            for (int state = 0; state < 3; ++state)
                k.methods_offered(phase, state);
        }
        read_input_kb().flag(25);
    }
}

} // namespace
} // namespace tw
