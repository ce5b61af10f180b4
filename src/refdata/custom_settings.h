#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tw {

/// The user's preferences, exactly as custom.con holds them (38 words of 4 bytes).
struct CustomSettings
{
    std::int32_t crop_growth_basis = 0; ///< 0 Season Days, 1 Growing Degree Days
    std::int32_t root_depth_model = 0;  ///< 0 Linear Equation, 1 Non-Linear Equation
    std::int32_t moisture_display = 1;  ///< 0 Available Depth, 1 Deficit, 2 content
    std::int32_t depth_unit = 1;
    std::int32_t height_unit = 0;
    std::int32_t soil_moisture_unit = 1;
    std::int32_t radiation_unit = 1;
    std::int32_t pressure_unit = 1;
    std::int32_t temperature_unit = 1;
    std::int32_t wind_unit = 0;
    std::int32_t latent_heat_unit = 0;
    std::int32_t cloud_cover_input = 0; ///< 0 Data Available, 1 Cloud Cover Based
    float albedo = 0.23f;
    std::int32_t vpd_method = 3;
    std::int32_t soil_heat_method = 1;
    float rso_mean_const = 31.54f;
    float rso_mean_lat = 0.2734f;
    float rso_mean_elev = 0.0007813f;
    float rso_amp_const = -0.2986f;
    float rso_amp_lat = 0.2678f;
    float rso_amp_elev = 0.0004102f;
    float rso_phase = 2.92f;
    float spare_coefficient_1 = 0.35f;
    float spare_coefficient_2 = 0.61f;
    float rnl_a = 1.22f;
    float rnl_b = -0.18f;
    float emis_a = 0.325f;
    float emis_b = -0.044f;
    float wind_a = 0.75f;
    float wind_b = 0.0115f;
    float wind_exponent = 0.2f;
    float jh_c1_base = 38.0f;
    float jh_elev_step = 305.0f;
    float jh_c2 = 7.3f;
    float jh_ch_numerator = 50.0f;
    float jh_tx_base = -2.5f;
    float jh_tx_slope = -0.14f;
    float jh_tx_elev_divisor = 550.0f;
};

constexpr std::size_t kCustomSettingsSize = 152;
using CustomSettingsImage = std::array<std::uint8_t, kCustomSettingsSize>;

/// One entry of the record's field table: its name in custom.con order, its offset, and whether
/// it is a float (else an int32).
struct CustomSettingsField
{
    std::string_view name;
    std::size_t offset;
    bool is_float;
};
std::span<const CustomSettingsField> custom_settings_fields();

/// Reads a field by its table entry as a double (ints widened exactly), or writes one.
double custom_settings_value(const CustomSettings &settings, const CustomSettingsField &field);
void set_custom_settings_value(CustomSettings &settings, const CustomSettingsField &field,
                               double value);

/// A value a method switch takes, with the name the preferences show for it.
struct SwitchChoice
{
    std::int32_t code;
    std::string_view text;
};
/// The values of a method switch (crop_growth_basis, root_depth_model, moisture_display,
/// cloud_cover_input, vpd_method, soil_heat_method); empty for any other field.
std::span<const SwitchChoice> switch_choices(std::string_view field_name);

CustomSettingsImage encode_custom_settings(const CustomSettings &settings);
/// The bytes laid over the image of `base`: a short file replaces only the leading bytes, bytes
/// beyond 152 are ignored.
CustomSettings decode_custom_settings(std::span<const std::uint8_t> bytes,
                                      const CustomSettings &base = {});

/// The one process-wide record every computation and display reads.
CustomSettings &custom_settings();

/// Start-up: defaults, then custom.con of the working directory over them; a missing file shows
/// the message and keeps the defaults.
void load_custom_settings();
/// Writes the whole record to custom.con (atomically); false after showing the message.
bool save_custom_settings();

} // namespace tw
