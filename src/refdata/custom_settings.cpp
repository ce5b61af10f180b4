#include "refdata/custom_settings.h"

#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tw {
namespace {

constexpr std::string_view kFileName = "custom.con";

struct Binding
{
    CustomSettingsField field;
    std::int32_t CustomSettings::*int_member;
    float CustomSettings::*float_member;
};

#define TW_INT(name, offset)                                                                       \
    Binding                                                                                        \
    {                                                                                              \
        {#name, offset, false}, &CustomSettings::name, nullptr                                     \
    }
#define TW_FLOAT(name, offset)                                                                     \
    Binding                                                                                        \
    {                                                                                              \
        {#name, offset, true}, nullptr, &CustomSettings::name                                      \
    }

constexpr std::array<Binding, 38> kBindings = {
    TW_INT(crop_growth_basis, 0),
    TW_INT(root_depth_model, 4),
    TW_INT(moisture_display, 8),
    TW_INT(depth_unit, 12),
    TW_INT(height_unit, 16),
    TW_INT(soil_moisture_unit, 20),
    TW_INT(radiation_unit, 24),
    TW_INT(pressure_unit, 28),
    TW_INT(temperature_unit, 32),
    TW_INT(wind_unit, 36),
    TW_INT(latent_heat_unit, 40),
    TW_INT(cloud_cover_input, 44),
    TW_FLOAT(albedo, 48),
    TW_INT(vpd_method, 52),
    TW_INT(soil_heat_method, 56),
    TW_FLOAT(rso_mean_const, 60),
    TW_FLOAT(rso_mean_lat, 64),
    TW_FLOAT(rso_mean_elev, 68),
    TW_FLOAT(rso_amp_const, 72),
    TW_FLOAT(rso_amp_lat, 76),
    TW_FLOAT(rso_amp_elev, 80),
    TW_FLOAT(rso_phase, 84),
    TW_FLOAT(spare_coefficient_1, 88),
    TW_FLOAT(spare_coefficient_2, 92),
    TW_FLOAT(rnl_a, 96),
    TW_FLOAT(rnl_b, 100),
    TW_FLOAT(emis_a, 104),
    TW_FLOAT(emis_b, 108),
    TW_FLOAT(wind_a, 112),
    TW_FLOAT(wind_b, 116),
    TW_FLOAT(wind_exponent, 120),
    TW_FLOAT(jh_c1_base, 124),
    TW_FLOAT(jh_elev_step, 128),
    TW_FLOAT(jh_c2, 132),
    TW_FLOAT(jh_ch_numerator, 136),
    TW_FLOAT(jh_tx_base, 140),
    TW_FLOAT(jh_tx_slope, 144),
    TW_FLOAT(jh_tx_elev_divisor, 148),
};

#undef TW_INT
#undef TW_FLOAT

constexpr bool offsets_are_consecutive()
{
    for (std::size_t i = 0; i < kBindings.size(); ++i) {
        if (kBindings[i].field.offset != 4 * i)
            return false;
    }
    return kBindings.size() * 4 == kCustomSettingsSize;
}
static_assert(offsets_are_consecutive(), "custom.con is 38 consecutive 4-byte words");

constexpr std::array<CustomSettingsField, 38> kFields = [] {
    std::array<CustomSettingsField, 38> fields{};
    for (std::size_t i = 0; i < kBindings.size(); ++i)
        fields[i] = kBindings[i].field;
    return fields;
}();

constexpr std::array<SwitchChoice, 2> kCropGrowth = {
    {{0, "Season Days"}, {1, "Growing Degree Days"}}};
constexpr std::array<SwitchChoice, 2> kRootDepth = {
    {{0, "Linear Equation"}, {1, "Non-Linear Equation"}}};
// The field views also know a water-content display, which the preferences page does not offer.
constexpr std::array<SwitchChoice, 3> kMoistureDisplay = {
    {{0, "Available Depth"}, {1, "Deficit"}, {2, "Water Content"}}};
constexpr std::array<SwitchChoice, 2> kSolarRadiation = {
    {{0, "Data Available"}, {1, "Cloud Cover Based"}}};
constexpr std::array<SwitchChoice, 3> kVpd = {
    {{1, "es - ea"}, {2, "(1 - RH) es"}, {3, "mean of es(Tmin) and es(Tmax) - ea"}}};
constexpr std::array<SwitchChoice, 2> kSoilHeat = {
    {{1, "None"}, {2, "From the three preceding days"}}};

const Binding &binding_of(const CustomSettingsField &field)
{
    return kBindings[field.offset / 4];
}

} // namespace

std::span<const CustomSettingsField> custom_settings_fields()
{
    return kFields;
}

std::span<const SwitchChoice> switch_choices(std::string_view field_name)
{
    if (field_name == "crop_growth_basis")
        return kCropGrowth;
    if (field_name == "root_depth_model")
        return kRootDepth;
    if (field_name == "moisture_display")
        return kMoistureDisplay;
    if (field_name == "cloud_cover_input")
        return kSolarRadiation;
    if (field_name == "vpd_method")
        return kVpd;
    if (field_name == "soil_heat_method")
        return kSoilHeat;
    return {};
}

double custom_settings_value(const CustomSettings &settings, const CustomSettingsField &field)
{
    const Binding &b = binding_of(field);
    return b.int_member ? static_cast<double>(settings.*b.int_member)
                        : static_cast<double>(settings.*b.float_member);
}

void set_custom_settings_value(CustomSettings &settings, const CustomSettingsField &field,
                               double value)
{
    const Binding &b = binding_of(field);
    if (b.int_member)
        settings.*b.int_member = static_cast<std::int32_t>(std::lround(value));
    else
        settings.*b.float_member = static_cast<float>(value);
}

CustomSettingsImage encode_custom_settings(const CustomSettings &settings)
{
    CustomSettingsImage image{};
    for (const Binding &b : kBindings) {
        if (b.int_member)
            codec::put_i32(image, b.field.offset, settings.*b.int_member);
        else
            codec::put_f32(image, b.field.offset, settings.*b.float_member);
    }
    return image;
}

CustomSettings decode_custom_settings(std::span<const std::uint8_t> bytes,
                                      const CustomSettings &base)
{
    CustomSettingsImage image = encode_custom_settings(base);
    if (!bytes.empty())
        std::memcpy(image.data(), bytes.data(), std::min(bytes.size(), image.size()));
    CustomSettings settings;
    for (const Binding &b : kBindings) {
        if (b.int_member)
            settings.*b.int_member = codec::get_i32(image, b.field.offset);
        else
            settings.*b.float_member = codec::get_f32(image, b.field.offset);
    }
    return settings;
}

CustomSettings &custom_settings()
{
    static CustomSettings settings;
    return settings;
}

void load_custom_settings()
{
    custom_settings() = CustomSettings{};
    const auto bytes = read_file(work_file(kFileName), kCustomSettingsSize);
    if (!bytes) {
        messages().inform("Unable to Find the Customization File.  You Can Create One With the "
                          "Customize Options.");
        return;
    }
    custom_settings() = decode_custom_settings(*bytes);
}

bool save_custom_settings()
{
    const CustomSettingsImage image = encode_custom_settings(custom_settings());
    std::string error;
    if (!write_file_atomic(work_file(kFileName), image, &error)) {
        messages().inform("ERROR: Can't Save to Customization File\n" + error);
        return false;
    }
    return true;
}

} // namespace tw
