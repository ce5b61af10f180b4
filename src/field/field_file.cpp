// The .fld layout: the field's own values, its soil and crop copies, then the day records.
#include "field/field_file.h"

#include "field/system_capacity.h"
#include "platform/archive.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

// Widths of the fixed character fields the texts are kept in (terminator included).
constexpr std::size_t kSoilTextWidth = 16;
constexpr std::size_t kCropTextWidth = 20;
constexpr std::size_t kYieldUnitsWidth = 12;
constexpr std::size_t kStageNameWidth = 20;
/// The smallest stored stage: an empty name (one length byte), flag and three numbers.
constexpr std::size_t kMinStoredStageSize = 1 + 4 * 4;
/// The soil nitrogen's "taken from the nutrient file" flag is kept as this number (0 when not).
constexpr float kSoilNitrogenFromFile = 0.1f;
/// Values added after the day records follow this marker ("TWF1"). Files without them end with
/// the days, so older files read as unset and older readers stop before the marker. After it
/// come, in this order: the system capacity (float32 days per mm, 0 unset), "Learn from
/// readings" (int32, 1 on) and the location the field was saved with (its file name as a
/// string, then its first date). A file holds them up to the last one that is set; each one is read
/// when the file goes on after the one before it, so a file that ends earlier reads the rest as
/// unset, and a reader that knows fewer stops after the last it knows.
constexpr std::int32_t kLaterValuesMarker = 0x31465754;
constexpr std::int32_t kLearnOn = 1;

/// What a fixed character field holds of a text: up to its first NUL, within the width.
std::string fixed_text(std::string_view text, std::size_t width)
{
    return cut_to_chars(text.substr(0, text.find('\0')), width - 1);
}

void write_fixed(ArchiveWriter &w, std::string_view text, std::size_t width)
{
    w.write_string(fixed_text(text, width));
}

std::string read_fixed(ArchiveReader &r, std::size_t width)
{
    return fixed_text(r.read_string(), width);
}

void write_crop(ArchiveWriter &w, const CropRecord &crop)
{
    write_fixed(w, crop.name, kCropTextWidth);
    write_fixed(w, crop.hybrid, kCropTextWidth);
    write_fixed(w, crop.yield_units, kYieldUnitsWidth);
    w.write_float(crop.planting_depth);
    w.write_float(crop.max_root_depth);
    w.write_float(crop.gdd_min_temp);
    w.write_float(crop.gdd_max_temp);
    for (const double a : crop.kc_before)
        w.write_double(a);
    for (const double a : crop.kc_after)
        w.write_double(a);
    w.write_float(crop.n_requirement);
    w.write_int32(crop.plant_population);
    w.write_int32(crop.average_yield);
    for (const std::int32_t v : crop.efficiency)
        w.write_int32(v);
    for (const std::int32_t v : crop.p_levels)
        w.write_int32(v);
    for (const std::int32_t v : crop.k_levels)
        w.write_int32(v);
    w.write_float(crop.yield_b0);
    w.write_int32(crop.max_harvests);
    const auto n = static_cast<std::size_t>(
        std::clamp(crop.stage_count, 0, static_cast<std::int32_t>(kMaxStages)));
    w.write_int32(static_cast<std::int32_t>(n));
    for (std::size_t k = 0; k < n; ++k) {
        const GrowthStage &s = crop.stages[k];
        write_fixed(w, s.name, kStageNameWidth);
        w.write_int32(s.flag);
        w.write_float(s.allowable_depletion);
        w.write_float(s.end_day);
        w.write_float(s.end_gdd);
    }
}

/// Far beyond any season or any sum of degree days, and far enough inside the range of an int
/// that the day arithmetic of the balance cannot overflow.
constexpr float kMaxStageEnd = 1e6f;

bool stage_ends_in_range(const GrowthStage &s)
{
    const auto in_range = [](float v) { return std::isfinite(v) && std::fabs(v) <= kMaxStageEnd; };
    return in_range(s.end_day) && in_range(s.end_gdd);
}

GrowthStage read_stage(ArchiveReader &r)
{
    GrowthStage s;
    s.name = read_fixed(r, kStageNameWidth);
    s.flag = r.read_int32();
    s.allowable_depletion = r.read_float();
    s.end_day = r.read_float();
    s.end_gdd = r.read_float();
    return s;
}

bool read_crop(ArchiveReader &r, CropRecord &crop)
{
    crop.name = read_fixed(r, kCropTextWidth);
    crop.hybrid = read_fixed(r, kCropTextWidth);
    crop.yield_units = read_fixed(r, kYieldUnitsWidth);
    crop.planting_depth = r.read_float();
    crop.max_root_depth = r.read_float();
    crop.gdd_min_temp = r.read_float();
    crop.gdd_max_temp = r.read_float();
    for (double &a : crop.kc_before)
        a = r.read_double();
    for (double &a : crop.kc_after)
        a = r.read_double();
    crop.n_requirement = r.read_float();
    crop.plant_population = r.read_int32();
    crop.average_yield = r.read_int32();
    for (std::int32_t &v : crop.efficiency)
        v = r.read_int32();
    for (std::int32_t &v : crop.p_levels)
        v = r.read_int32();
    for (std::int32_t &v : crop.k_levels)
        v = r.read_int32();
    crop.yield_b0 = r.read_float();
    crop.max_harvests = r.read_int32();
    const std::int32_t n = r.read_int32();
    if (!r.ok() || n < 0 || static_cast<std::size_t>(n) > r.remaining() / kMinStoredStageSize)
        return false;
    // Stages beyond what a crop holds are read past and dropped.
    crop.stages = {};
    for (std::int32_t k = 0; k < n; ++k) {
        GrowthStage s = read_stage(r);
        if (static_cast<std::size_t>(k) >= kMaxStages)
            continue;
        if (!stage_ends_in_range(s))
            return false;
        crop.stages[static_cast<std::size_t>(k)] = std::move(s);
    }
    crop.stage_count = std::min(n, static_cast<std::int32_t>(kMaxStages));
    return r.ok();
}

void write_later_values(ArchiveWriter &w, const SavedField &field, const LocationIdentity &location)
{
    const bool capacity = has_system_capacity(field.days_per_mm);
    const int count = location.known() ? 3 : field.learn_from_readings ? 2 : capacity ? 1 : 0;
    if (count == 0)
        return;
    w.write_int32(kLaterValuesMarker);
    w.write_float(capacity ? field.days_per_mm : 0.0f);
    if (count >= 2)
        w.write_int32(field.learn_from_readings ? kLearnOn : 0);
    if (count >= 3) {
        w.write_string(location.file_name);
        w.write_date(location.first_date);
    }
}

/// The values after the days; bytes that do not start with the marker are left unread, as the
/// readers before them did. A value cut short makes the file unreadable.
bool read_later_values(ArchiveReader &r, SavedField &field)
{
    field.days_per_mm = 0.0f;
    field.learn_from_readings = false;
    field.remembered_location = {};
    if (r.remaining() < 4 || r.read_int32() != kLaterValuesMarker)
        return true;
    const float stored = r.read_float();
    if (has_system_capacity(stored))
        field.days_per_mm = stored;
    if (r.ok() && r.remaining() > 0)
        field.learn_from_readings = r.read_int32() == kLearnOn;
    if (r.ok() && r.remaining() > 0) {
        LocationIdentity location;
        location.file_name = r.read_string();
        location.first_date = r.read_date();
        if (r.ok())
            field.remembered_location = std::move(location);
    }
    return r.ok();
}

} // namespace

std::vector<std::uint8_t> encode_field_file(const SavedField &field, std::span<const FieldDay> days,
                                            const LocationIdentity &location)
{
    ArchiveWriter w;
    w.write_string(field.name);
    w.write_string(field.second_text);
    w.write_int32(field.system_index);
    w.write_float(field.efficiency);
    w.write_float(field.nitrogen.water_nitrate_ppm);
    w.write_float(field.initial_moisture);
    w.write_int32(field.perennial);
    w.write_date(field.planting_date);
    w.write_float(field.nitrogen.soil_nitrogen_from_file ? kSoilNitrogenFromFile : 0.0f);
    w.write_float(field.nitrogen.soil_nitrogen);
    write_fixed(w, field.soil.name, kSoilTextWidth);
    write_fixed(w, field.soil.type, kSoilTextWidth);
    w.write_float(field.soil.sm_fc);
    w.write_float(field.soil.sm_pwp);
    w.write_float(field.soil.awhc);
    write_crop(w, field.crop);
    w.write_count(static_cast<std::uint32_t>(days.size()));
    for (const FieldDay &day : days)
        w.write_bytes(encode_field_day(day));
    write_later_values(w, field, location);
    return w.bytes();
}

bool decode_field_file(std::span<const std::uint8_t> bytes, SavedField &field,
                       std::vector<FieldDay> &days)
{
    ArchiveReader r(bytes);
    field.name = r.read_string();
    field.second_text = r.read_string();
    field.set_system_index(r.read_int32());
    field.efficiency = r.read_float();
    field.nitrogen.water_nitrate_ppm = r.read_float();
    field.initial_moisture = r.read_float();
    field.perennial = r.read_int32();
    field.planting_date = r.read_date();
    // Any number but one at or below 0 was taken as the flag set, an unreadable one too.
    field.nitrogen.soil_nitrogen_from_file = !(r.read_float() <= 0.0f);
    field.nitrogen.soil_nitrogen = r.read_float();
    field.soil.name = read_fixed(r, kSoilTextWidth);
    field.soil.type = read_fixed(r, kSoilTextWidth);
    field.soil.sm_fc = r.read_float();
    field.soil.sm_pwp = r.read_float();
    field.soil.awhc = r.read_float();
    if (!read_crop(r, field.crop))
        return false;
    const std::uint32_t count = r.read_count(kFieldDaySize);
    days.clear();
    days.reserve(count);
    for (std::uint32_t d = 0; d < count && r.ok(); ++d) {
        const auto record = r.read_bytes(kFieldDaySize);
        if (record.size() == kFieldDaySize)
            days.push_back(decode_field_day(record.first<kFieldDaySize>()));
    }
    return r.ok() && read_later_values(r, field);
}

} // namespace tw
