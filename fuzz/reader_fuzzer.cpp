// One reader of the program under libFuzzer, chosen at build time: the input becomes the file the
// reader takes, then the commands that read it run in-process. The first corpus folder, when
// empty, is seeded with the file as the demo season has it, so every run starts from real data.
#include "fuzz_workdir.h"

#include "platform/settings_store.h"
#include "refdata/tip_of_day.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tw::fuzz::cli;

struct Target
{
    Target(std::string_view name, std::string file, std::vector<std::string> restored,
           std::function<void(const std::string &)> run, std::string seed = {})
        : name(name)
        , file(std::move(file))
        , restored(std::move(restored))
        , run(std::move(run))
        , seed(std::move(seed))
    {}

    std::string_view name;
    std::string file;                  ///< where the input goes in the working folder
    std::vector<std::string> restored; ///< files the commands change, put back before each run
    std::function<void(const std::string &dir)> run;
    std::string seed; ///< when the demo season has no such file
};

std::function<void(const std::string &)> commands(std::vector<std::vector<std::string>> lines)
{
    return [lines](const std::string &dir) {
        for (auto line : lines) {
            for (std::string &arg : line) {
                if (arg.starts_with("@"))
                    arg = dir + "/" + arg.substr(1);
            }
            cli(line);
        }
    };
}

const std::vector<std::string> kFieldNew = {
    "field",  "new",  "@X.fld", "--location", "@G.loc",     "--name",    "X",
    "--crop", "CORN", "--soil", "Loam",       "--planting", "2022-05-10"};
const std::vector<std::string> kConsultation = {"fertility", "@N0.fld",   "--location",
                                                "@G.loc",    "--answers", "@answers.ini"};
const std::vector<std::string> kLeaching = {"leaching", "@N.fld", "--location", "@G.loc"};
const std::vector<std::string> kNitrogen = {"field",      "nitrogen", "@N.fld",
                                            "--location", "@G.loc",   "--csv"};
const std::vector<std::string> kConsulted = {"N0.fld", "Zero22.FRT", "Zero22.LCH"};

Target weather(std::string_view name, const char *format, std::string seed)
{
    return Target(name, "W.txt", {"E.loc"},
                  commands({{"location", "import", "@E.loc", "--format", format, "@W.txt"},
                            {"location", "show", "@E.loc", "--csv"}}),
                  std::move(seed));
}

void show_tips(const std::string &dir)
{
    tw::MemorySettingsStore settings;
    tw::TipOfDay tips(settings, dir + "/tips.txt");
    tips.prepare();
    for (int i = 0; i < 4; ++i)
        tips.next_tip();
    tips.finish();
}

std::vector<Target> targets()
{
    const std::string jvu = "LIRF1,2022-05-01,12.0,20.1,00:00:00,5.2,00:00:00,0.0,0.9,00:00:00,"
                            "0.3,00:00:00,2.9,243.6,0.0\n";
    return {
        {"location",
         "F.loc",
         {},
         commands({{"location", "show", "@F.loc", "--csv"}, {"location", "export", "@F.loc"}})},
        {"field",
         "F.fld",
         {},
         commands({{"field", "export", "@F.fld", "--location", "@G.loc"},
                   {"field", "nitrogen", "@F.fld", "--location", "@G.loc"}})},
        {"soil_db", "soil.db", {"X.fld"}, commands({{"db", "list", "soils", "--csv"}, kFieldNew})},
        {"crop_db", "crop.db", {"X.fld"}, commands({{"db", "list", "crops", "--csv"}, kFieldNew})},
        {"station_db",
         "station.db",
         {"X.loc"},
         commands({{"db", "list", "stations", "--csv"},
                   {"location", "new", "@X.loc", "--name", "X", "--start", "2022-05-01",
                    "--station", "Greeley"}})},
        {"custom_con",
         "custom.con",
         {},
         commands({{"prefs", "show"},
                   {"db", "list", "stations"},
                   {"location", "show", "@G.loc"},
                   {"field", "schedule", "@N.fld", "--location", "@G.loc"}})},
        {"n_lib", "N_FERT.LIB", kConsulted, commands({kConsultation})},
        {"p_lib", "P_FERT.LIB", kConsulted, commands({kConsultation})},
        {"k_lib", "K_FERT.LIB", kConsulted, commands({kConsultation})},
        {"method2_kb", "METHOD_2.KB", kConsulted, commands({kConsultation})},
        {"input_kb", "INPUT.KB", kConsulted, commands({kConsultation})},
        {"rec_kb", "REC.KB", kConsulted, commands({kConsultation})},
        {"frt", "North22.FRT", {}, commands({kLeaching, kNitrogen})},
        {"lch", "North22.LCH", {}, commands({kLeaching, kNitrogen})},
        {"tips",
         "tips.txt",
         {},
         show_tips,
         "Irrigate before the deficit reaches the allowable depletion.\n\n"
         "A field reads its weather from the location it was opened with.\n"},
        weather("weather_jvu_new", "jvu-new", jvu),
        weather("weather_jvu_old", "jvu-old",
                "STATION HEADER\n144,121,0,28.5,0,11.0,0,0,0.9,0,0.3,0,25.0,180.0,1.5\n"
                "144,122,0,28.5,0,11.0,0,0,0.9,0,0.3,0,25.0,180.0,1.5\n"),
        weather("weather_usda", "usda",
                "999, 121, 70, 42, 80, 20, 600, 150, 0, 0\n"
                "999, 122, 71, 45, 85, 25, 580, 140, 0.1, 0\n"),
        weather("weather_usda_no_rh", "usda-no-rh",
                "999, 121, 70, 42, 600, 150, 0, 0\n"
                "999, 122, 71, 45, 580, 140, 0.1, 0\n"),
        weather("weather_kansas", "kansas",
                "139, 121, 86.0, 59.0, 85, 22, 550, 120, 0.5, 0.3\n"
                "139, 122, 84.0, 57.0, 80, 20, 540, 110, 0.0, 0.3\n"),
        {"answers", "A.ini", kConsulted,
         commands({{"fertility", "@N0.fld", "--location", "@G.loc", "--answers", "@A.ini"}})},
    };
}

const Target &target()
{
    static const Target chosen = [] {
        for (const Target &t : targets()) {
            if (t.name == TILLWISE_FUZZ_TARGET)
                return t;
        }
        __builtin_trap();
    }();
    return chosen;
}

std::vector<std::uint8_t> seed_bytes(const Target &t)
{
    if (t.name == "answers")
        return tw::fuzz::original("answers.ini");
    if (!t.seed.empty())
        return {t.seed.begin(), t.seed.end()};
    return tw::fuzz::original(t.file);
}

void seed_corpus(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            continue;
        const std::filesystem::path dir = argv[i];
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec) || !std::filesystem::is_empty(dir, ec))
            return;
        const auto bytes = seed_bytes(target());
        std::ofstream out(dir / "seed", std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    tw::fuzz::workdir();
    seed_corpus(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Target &t = target();
    for (const std::string &name : t.restored)
        tw::fuzz::restore(name);
    tw::fuzz::put(t.file, {data, size});
    t.run(tw::fuzz::workdir().string());
    tw::fuzz::restore(t.file);
    return 0;
}
