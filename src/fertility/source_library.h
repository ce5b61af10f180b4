#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The fertilizer materials of P_FERT.LIB, K_FERT.LIB and N_FERT.LIB: plain sequences of 76-byte
// records in the working directory, re-created with the default materials when missing.
namespace tw {

enum LibraryType : int { LibPhosphorus = 0, LibPotassium = 1, LibNitrogen = 2 };

struct SourceMaterial
{
    std::string name; ///< char[32]
    float n_percent = 0.0f;
    float p_percent = 0.0f; ///< % P2O5
    float k_percent = 0.0f; ///< % K2O
    /// Largest allowed application per phase (Preplant, Starter, PostEmergence, Fertigation),
    /// lb/acre; 0 = not allowed in the phase.
    std::array<float, 4> max_application{};
    std::int32_t solid = 0;
    std::int32_t liquid = 0;
    std::int32_t gas = 0;
    /// 0 Stable, 1 Alkaline, 2 NH4-Slightly Volatile, 3 NH4-Volatile, 4 NH4-Very Volatile.
    std::int32_t volatility = 0;

    /// 0 for a phase outside 0..3.
    float max_for_phase(int phase) const;
    /// Whether the material can be applied in a state (0 Solid, 1 Liquid, 2 Gas).
    bool allows_state(int state) const;
};

constexpr std::size_t kSourceMaterialSize = 76;
using SourceMaterialImage = std::array<std::uint8_t, kSourceMaterialSize>;

SourceMaterialImage encode_source_material(const SourceMaterial &material);
SourceMaterial decode_source_material(std::span<const std::uint8_t, kSourceMaterialSize> bytes);

/// "Name (N-P-K)" as the material lists show it.
std::string material_label(const SourceMaterial &material);

const char *library_file_name(LibraryType type);
std::vector<SourceMaterial> default_materials(LibraryType type);

/// The library's bytes. A missing file is created with the defaults; when it can be neither read
/// nor created the defaults serve for this use (the creator has told the user).
std::vector<std::uint8_t> lib_Open(LibraryType type);
/// Write the default library; its bytes, or nothing after the message when it cannot be written.
std::optional<std::vector<std::uint8_t>> lib_CreatePSourceLib();
std::optional<std::vector<std::uint8_t>> lib_CreateKSourceLib();
std::optional<std::vector<std::uint8_t>> lib_CreateNSourceLib();

/// Whole records in the bytes; a trailing partial record is not one.
std::size_t lib_Count(std::span<const std::uint8_t> library);
/// The first n records; fewer (after the message) when the bytes do not hold n.
std::vector<SourceMaterial> lib_Read(std::span<const std::uint8_t> library, std::size_t n);
/// The records allowed in the phase (0 Preplant .. 3 Fertigation), in file order.
std::vector<SourceMaterial> lib_SelectForPhase(std::span<const SourceMaterial> records, int phase);
/// Open, count, read and select; tells the user when no material is allowed in the phase.
std::vector<SourceMaterial> lib_LoadForPhase(LibraryType type, int phase);

/// What the "New Fertilizer Blend" dialog edits.
struct BlendForm
{
    std::string name;
    float n_percent = 0.0f;
    float p_percent = 0.0f;
    float k_percent = 0.0f;
    std::array<float, 4> max_application{300.0f, 300.0f, 300.0f, 300.0f};
    bool solid = false;
    bool liquid = false;
    bool gas = false;
    std::int32_t volatility = 0;
};

/// The largest figures a blend takes: a share of the material, and an application in lb/acre.
constexpr float kMaxBlendPercent = 100.0f;
constexpr float kMaxBlendApplication = 10000.0f;

/// The dialog's OK: the blend as a material, or nothing after the message that keeps the dialog
/// open (a blend must carry the library's nutrient and allow at least one material state).
std::optional<SourceMaterial> accept_blend(const BlendForm &form, LibraryType type);

/// Asks whether to keep the blend in the library and, on Yes, appends it; false when the user
/// declines or the library cannot be modified (after the message).
bool offer_to_save_blend(const SourceMaterial &blend, LibraryType type);

/// Appends the record to the library file, replacing the file atomically.
bool append_to_library(LibraryType type, const SourceMaterial &material);

} // namespace tw
