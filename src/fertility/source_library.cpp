#include "fertility/source_library.h"

#include "fertility/record_fields.h"
#include "fertility/work_files.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "platform/work_dir.h"

#include <algorithm>

namespace tw {
namespace {

using namespace codec;

namespace material {
constexpr std::size_t name = 0, n = 32, p = 36, k = 40, max_preplant = 44, solid = 60, liquid = 64,
                      gas = 68, volatility = 72;
constexpr std::size_t name_width = 32;
static_assert(max_preplant + 4 * 4 == solid);
static_assert(volatility + 4 == kSourceMaterialSize);
} // namespace material

template<class Material, class Visitor>
void visit_material(Material &m, Visitor &&v)
{
    v.text(material::name, m.name, material::name_width);
    v.word(material::n, m.n_percent);
    v.word(material::p, m.p_percent);
    v.word(material::k, m.k_percent);
    v.words(material::max_preplant, m.max_application);
    v.word(material::solid, m.solid);
    v.word(material::liquid, m.liquid);
    v.word(material::gas, m.gas);
    v.word(material::volatility, m.volatility);
}

// Libraries beyond this are read only this far: no one keeps that many materials, and a stray
// huge file must not exhaust memory.
constexpr std::size_t kMaxLibraryBytes = kSourceMaterialSize * 65536;

struct DefaultMaterial
{
    const char *name;
    float n, p, k;
    std::int32_t gas, volatility;
};

constexpr DefaultMaterial kPhosphorusDefaults[] = {
    {"Phosphoric Acid", 0, 53, 0, 0, 0},
    {"Single Superphosphate", 0, 20, 0, 0, 0},
    {"Superphosphate Acid", 0, 80, 0, 0, 0},
    {"Triple Superphosphate", 0, 45, 0, 0, 0},
    {"Ammonium Phosphate Nitrate", 27, 12, 0, 0, 4},
    {"Normal Ammonium Phosphate SO4", 16, 20, 0, 0, 4},
    {"Strong Ammonium Phosphate SO4", 13, 39, 0, 0, 4},
    {"Ammonium Polyphosphate", 10, 34, 0, 0, 4},
    {"Diammonium Phosphate", 18, 46, 0, 0, 4},
    {"Monoammonium Phosphate", 11, 48, 0, 0, 4},
    {"Aqua Ammonium Phosphate", 8, 24, 0, 0, 4},
};

constexpr DefaultMaterial kPotassiumDefaults[] = {
    {"Potassium Chloride (Murate)", 0, 0, 60, 0, 0},
    {"Potassium Sulfate", 0, 0, 54, 0, 0},
    {"Sulfate of Potash Magnesia", 0, 0, 26, 0, 0},
    {"Potassium Nitrate", 13, 0, 44, 0, 0},
};

constexpr DefaultMaterial kNitrogenDefaults[] = {
    {"Ammonium Nitrate", 34, 0, 0, 0, 4},
    {"Ammonium Nitrate Lime", 21, 0, 0, 0, 4},
    {"Ammonium Nitrate - Sulfate", 30, 0, 0, 0, 4},
    {"Ammonium Sulfate", 21, 0, 0, 0, 3},
    {"Anhydrous Ammonia", 82, 0, 0, 1, 2},
    {"Aqua Ammonia", 20, 0, 0, 0, 3},
    {"Calcium Ammonium Nitrate", 17, 0, 0, 0, 4},
    {"Calcium Cyanamide", 21, 0, 0, 0, 0},
    {"Calcium Nitrate", 16, 0, 0, 0, 0},
    {"Sodium Nitrate", 16, 0, 0, 0, 0},
    {"Urea", 46, 0, 0, 0, 1},
    {"Urea Ammonium Nitrate (UAN)", 32, 0, 0, 0, 1},
    {"Urea Formaldehyde", 38, 0, 0, 0, 1},
};

SourceMaterial make_material(std::string name, float n, float p, float k,
                             const std::array<float, 4> &max_application,
                             const std::array<bool, 3> &states, std::int32_t volatility)
{
    SourceMaterial m;
    m.name = std::move(name);
    m.n_percent = n;
    m.p_percent = p;
    m.k_percent = k;
    m.max_application = max_application;
    m.solid = states[0] ? 1 : 0;
    m.liquid = states[1] ? 1 : 0;
    m.gas = states[2] ? 1 : 0;
    m.volatility = volatility;
    return m;
}

std::vector<std::uint8_t> library_bytes(std::span<const SourceMaterial> materials)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(materials.size() * kSourceMaterialSize);
    for (const SourceMaterial &m : materials) {
        const SourceMaterialImage image = encode_source_material(m);
        bytes.insert(bytes.end(), image.begin(), image.end());
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> create_library(LibraryType type, const char *message)
{
    std::vector<std::uint8_t> bytes = library_bytes(default_materials(type));
    std::string error;
    if (!write_file_atomic(work_file(library_file_name(type)), bytes, &error)) {
        messages().inform(std::string(message) + "\n" + error, "ERROR", MessageIcon::Error);
        return std::nullopt;
    }
    return bytes;
}

std::optional<FileBytes> create_library(LibraryType type)
{
    switch (type) {
    case LibPhosphorus: return lib_CreatePSourceLib();
    case LibPotassium: return lib_CreateKSourceLib();
    case LibNitrogen: break;
    }
    return lib_CreateNSourceLib();
}

} // namespace

float SourceMaterial::max_for_phase(int phase) const
{
    return phase >= 0 && phase < 4 ? max_application[static_cast<std::size_t>(phase)] : 0.0f;
}

bool SourceMaterial::allows_state(int state) const
{
    switch (state) {
    case 0: return solid != 0;
    case 1: return liquid != 0;
    case 2: return gas != 0;
    default: return false;
    }
}

SourceMaterialImage encode_source_material(const SourceMaterial &m)
{
    SourceMaterialImage b{};
    visit_material(m, FieldWriter{b});
    return b;
}

SourceMaterial decode_source_material(std::span<const std::uint8_t, kSourceMaterialSize> b)
{
    SourceMaterial m;
    visit_material(m, FieldReader{b});
    return m;
}

std::string material_label(const SourceMaterial &m)
{
    return strprintf("%s (%1.0f-%1.0f-%1.0f)", m.name.c_str(), m.n_percent, m.p_percent,
                     m.k_percent);
}

const char *library_file_name(LibraryType type)
{
    switch (type) {
    case LibPhosphorus: return "P_FERT.LIB";
    case LibPotassium: return "K_FERT.LIB";
    case LibNitrogen: break;
    }
    return "N_FERT.LIB";
}

std::vector<SourceMaterial> default_materials(LibraryType type)
{
    std::span<const DefaultMaterial> table = kNitrogenDefaults;
    if (type == LibPhosphorus)
        table = kPhosphorusDefaults;
    else if (type == LibPotassium)
        table = kPotassiumDefaults;
    const float fertigation_max = type == LibNitrogen ? 300.0f : 0.0f;
    std::vector<SourceMaterial> materials;
    for (const DefaultMaterial &d : table) {
        materials.push_back(make_material(d.name, d.n, d.p, d.k,
                                          {300.0f, 300.0f, 300.0f, fertigation_max},
                                          {true, true, d.gas != 0}, d.volatility));
    }
    return materials;
}

std::optional<std::vector<std::uint8_t>> lib_CreatePSourceLib()
{
    return create_library(
        LibPhosphorus,
        "ERROR: Can't Open Phosphorus Source Material Library in lib_CreatePSourceLib()!");
}

std::optional<std::vector<std::uint8_t>> lib_CreateKSourceLib()
{
    return create_library(
        LibPotassium,
        "ERROR: Can't Open Potassium Source Material Library in lib_CreateKSourceLib()!");
}

std::optional<std::vector<std::uint8_t>> lib_CreateNSourceLib()
{
    return create_library(
        LibNitrogen,
        "ERROR: Can't Open Nitrogen Source Material Library in lib_CreateNSourceLib()!");
}

std::vector<std::uint8_t> lib_Open(LibraryType type)
{
    if (auto bytes = read_or_create_work_file(library_file_name(type), kMaxLibraryBytes,
                                              [type] { return create_library(type); }))
        return std::move(*bytes);
    return library_bytes(default_materials(type));
}

std::size_t lib_Count(std::span<const std::uint8_t> library)
{
    return library.size() / kSourceMaterialSize;
}

std::vector<SourceMaterial> lib_Read(std::span<const std::uint8_t> library, std::size_t n)
{
    const std::size_t available = lib_Count(library);
    if (available < n)
        messages().inform("Error Reading Source Library in lib_Read()!!", "ERROR",
                          MessageIcon::Error);
    std::vector<SourceMaterial> records;
    records.reserve(std::min(n, available));
    for (std::size_t i = 0; i < n && i < available; ++i) {
        records.push_back(decode_source_material(std::span<const std::uint8_t, kSourceMaterialSize>(
            library.data() + i * kSourceMaterialSize, kSourceMaterialSize)));
    }
    return records;
}

std::vector<SourceMaterial> lib_SelectForPhase(std::span<const SourceMaterial> records, int phase)
{
    std::vector<SourceMaterial> selected;
    for (const SourceMaterial &m : records) {
        if (m.max_for_phase(phase) > 0.0f)
            selected.push_back(m);
    }
    return selected;
}

std::vector<SourceMaterial> lib_LoadForPhase(LibraryType type, int phase)
{
    const std::vector<std::uint8_t> library = lib_Open(type);
    const std::vector<SourceMaterial> records = lib_Read(library, lib_Count(library));
    std::vector<SourceMaterial> selected = lib_SelectForPhase(records, phase);
    if (selected.empty())
        messages().inform("No Valid Fertilizers Found in Fertilizer Library!!", "ERROR",
                          MessageIcon::Error);
    return selected;
}

std::optional<SourceMaterial> accept_blend(const BlendForm &form, LibraryType type)
{
    const char *missing = nullptr;
    if (type == LibNitrogen && form.n_percent == 0.0f)
        missing = "Blend must contain nitrogen";
    else if (type == LibPotassium && form.k_percent == 0.0f)
        missing = "Blend must contain Potassium";
    else if (type == LibPhosphorus && form.p_percent == 0.0f)
        missing = "Blend must contain phosphorus";
    if (missing) {
        messages().inform(missing, "Blend Unacceptable", MessageIcon::Warning);
        return std::nullopt;
    }
    if (!form.solid && !form.liquid && !form.gas) {
        messages().inform("You must allow at least one application phase", "No Phase",
                          MessageIcon::Warning);
        return std::nullopt;
    }
    return make_material(form.name, form.n_percent, form.p_percent, form.k_percent,
                         form.max_application, {form.solid, form.liquid, form.gas},
                         form.volatility);
}

bool append_to_library(LibraryType type, const SourceMaterial &material)
{
    const std::filesystem::path path = work_file(library_file_name(type));
    std::vector<std::uint8_t> bytes;
    if (file_exists(path)) {
        auto existing = read_file(path, kMaxLibraryBytes + 1);
        if (!existing || existing->size() > kMaxLibraryBytes)
            return false;
        bytes = std::move(*existing);
    } else {
        bytes = library_bytes(default_materials(type));
    }
    // A trailing partial record is never read; the blend goes on a record boundary so that it
    // can be read back.
    bytes.resize(lib_Count(bytes) * kSourceMaterialSize);
    const SourceMaterialImage image = encode_source_material(material);
    bytes.insert(bytes.end(), image.begin(), image.end());
    return write_file_atomic(path, bytes);
}

bool offer_to_save_blend(const SourceMaterial &blend, LibraryType type)
{
    if (!messages().ask_yes_no("Do You wish to permanently save this blend in the Fertilizer "
                               "Library",
                               "Save Blend"))
        return false;
    if (append_to_library(type, blend))
        return true;
    messages().inform("Could not Modify Library", "Save Error", MessageIcon::Error);
    return false;
}

} // namespace tw
