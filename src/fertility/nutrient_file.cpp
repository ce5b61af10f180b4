#include "fertility/nutrient_file.h"

#include "platform/dates.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"

#include <algorithm>
#include <cstring>

namespace tw {
namespace {

namespace block {
constexpr std::size_t inputs = 0, recommendation = 492, soil_test = 572, mass_balance = 608,
                      schedule_count = 656, first_entry_nitrogen = 660;
static_assert(inputs + kFertilityInputsSize == recommendation);
static_assert(recommendation + kRecommendationSize == soil_test);
static_assert(soil_test + kSoilTestResultSize == mass_balance);
static_assert(mass_balance + kMassBalanceResultSize == schedule_count);
static_assert(first_entry_nitrogen + 4 == kNutrientFileSize);
} // namespace block

constexpr const char *kErrorCaption = "ERROR";

std::filesystem::path file_for(std::string_view base, std::string_view extension)
{
    return work_file(std::string(base) + std::string(extension));
}

bool base_is_safe(std::string_view base)
{
    return !base.empty() && !unsafe_file_name_reason(base, "field");
}

struct RawNutrientFile
{
    FileReadStatus status = FileReadStatus::CannotOpen;
    std::vector<std::uint8_t> bytes;
};

RawNutrientFile read_nutrient_bytes(std::string_view base)
{
    RawNutrientFile raw;
    if (!base_is_safe(base))
        return raw;
    auto bytes = read_file(file_for(base, ".FRT"), kNutrientFileSize);
    if (!bytes)
        return raw;
    raw.status = bytes->size() < kNutrientFileSize ? FileReadStatus::Short : FileReadStatus::Ok;
    raw.bytes = std::move(*bytes);
    return raw;
}

/// The midseason save keeps the stored pre-season inputs byte for byte and takes only the
/// season's progress from the current ones. It keeps the preplant nitrogen too: a correction
/// schedules fertigations only, and without the stored figure a later correction, the field's
/// soil nitrate and the leaching report would all lose what went on before planting.
bool merge_stored_inputs(std::string_view base, const FertilityInputs &current,
                         NutrientImage &image)
{
    const RawNutrientFile stored = read_nutrient_bytes(base);
    if (stored.status != FileReadStatus::Ok)
        return false;
    std::copy_n(stored.bytes.begin(), kFertilityInputsSize, image.begin());
    codec::put_i32(image, inputs_offset::applications_count, current.applications_count);
    codec::put_f32(image, inputs_offset::applied_to_date, current.applied_to_date);
    codec::put_i32(image, inputs_offset::midseason_mode, current.midseason_mode);
    codec::put_i32(image, inputs_offset::soil_test_date, current.soil_test_date);
    codec::put_f64(image, inputs_offset::planting_date, current.planting_date.serial);
    codec::put_i32(image, inputs_offset::planting_date + 8, current.planting_date.status);
    const std::int32_t preplant = codec::get_i32(stored.bytes, block::first_entry_nitrogen);
    if (preplant > 0)
        codec::put_i32(image, block::first_entry_nitrogen, preplant);
    return true;
}

std::vector<std::uint8_t> schedule_bytes(std::span<const ScheduleEntry> schedule, int count)
{
    std::vector<std::uint8_t> bytes;
    const std::size_t n = std::min<std::size_t>(schedule.size(), std::max(count, 0));
    bytes.reserve(n * kScheduleEntrySize);
    for (std::size_t i = 0; i < n; ++i) {
        const ScheduleEntryImage image = encode_schedule_entry(schedule[i]);
        bytes.insert(bytes.end(), image.begin(), image.end());
    }
    return bytes;
}

} // namespace

NutrientImage encode_nutrient_block(const NutrientBlock &b)
{
    NutrientImage image{};
    const FertilityInputsImage inputs = encode_fertility_inputs(b.inputs);
    std::copy(inputs.begin(), inputs.end(), image.begin());
    const std::span<std::uint8_t> bytes(image);
    encode_recommendation(b.recommendation, bytes.subspan(block::recommendation));
    encode_soil_test_result(b.soil_test, bytes.subspan(block::soil_test));
    encode_mass_balance_result(b.mass_balance, bytes.subspan(block::mass_balance));
    codec::put_i32(image, block::schedule_count, b.schedule_count);
    codec::put_i32(image, block::first_entry_nitrogen, b.first_entry_nitrogen);
    return image;
}

NutrientBlock decode_nutrient_block(std::span<const std::uint8_t, kNutrientFileSize> bytes)
{
    NutrientBlock b;
    b.inputs = decode_fertility_inputs(bytes.first<kFertilityInputsSize>());
    b.recommendation = decode_recommendation(bytes.subspan(block::recommendation));
    b.soil_test = decode_soil_test_result(bytes.subspan(block::soil_test));
    b.mass_balance = decode_mass_balance_result(bytes.subspan(block::mass_balance));
    b.schedule_count = codec::get_i32(bytes, block::schedule_count);
    b.first_entry_nitrogen = codec::get_i32(bytes, block::first_entry_nitrogen);
    return b;
}

NutrientFileRead load_nutrient_file(std::string_view base)
{
    const RawNutrientFile raw = read_nutrient_bytes(base);
    NutrientFileRead result;
    result.status = raw.status;
    if (raw.status == FileReadStatus::Ok) {
        result.block = decode_nutrient_block(
            std::span<const std::uint8_t, kNutrientFileSize>(raw.bytes.data(), kNutrientFileSize));
    }
    return result;
}

int read_nutrient_file(std::string_view base, NutrientBlock &block)
{
    const NutrientFileRead read = load_nutrient_file(base);
    switch (read.status) {
    case FileReadStatus::Ok: block = read.block; return 1;
    case FileReadStatus::CannotOpen:
        messages().inform("Can't Open Nutrient File.  You Must Run Fertility Scheduler First!",
                          kErrorCaption, MessageIcon::Error);
        return 0;
    case FileReadStatus::Short:
        messages().inform("ERROR: Couldn't Read Nutrient File!", kErrorCaption, MessageIcon::Error);
        return 0;
    }
    return 0;
}

int read_schedule_file(std::string_view base, std::vector<ScheduleEntry> &entries, int count)
{
    entries.clear();
    const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
    const auto bytes = base_is_safe(base)
                           ? read_file(file_for(base, ".LCH"), wanted * kScheduleEntrySize)
                           : std::nullopt;
    if (!bytes) {
        messages().inform(
            "Can't Open Nutrient Schedule File. You Must Run Fertility Scheduler First!",
            kErrorCaption, MessageIcon::Error);
        return 0;
    }
    const std::size_t whole = bytes->size() / kScheduleEntrySize;
    entries.reserve(whole);
    for (std::size_t i = 0; i < whole; ++i) {
        entries.push_back(decode_schedule_entry(std::span<const std::uint8_t, kScheduleEntrySize>(
            bytes->data() + i * kScheduleEntrySize, kScheduleEntrySize)));
    }
    if (whole < wanted) {
        messages().inform("ERROR: Couldn't Read Schedule File!", kErrorCaption, MessageIcon::Error);
        return 0;
    }
    return 1;
}

int file_SaveInfo(std::string_view base, const NutrientBlock &block,
                  std::span<const ScheduleEntry> schedule)
{
    if (base.empty()) {
        messages().inform("The field has no name to save its nutrient files under.", kErrorCaption,
                          MessageIcon::Error);
        return 0;
    }
    if (const auto reason = unsafe_file_name_reason(base, "field")) {
        messages().inform(*reason, kErrorCaption, MessageIcon::Error);
        return 0;
    }
    NutrientImage image = encode_nutrient_block(block);
    if (block.inputs.midseason_mode == 1 && !merge_stored_inputs(base, block.inputs, image)) {
        messages().inform("ERROR: Can't Modify Nutrient File in file_SaveInfo()!", kErrorCaption,
                          MessageIcon::Error);
        return 0;
    }
    // The leaching report reads both files, so they change together or not at all.
    const std::vector<std::uint8_t> entries = schedule_bytes(schedule, block.schedule_count);
    const FileWrite pair[] = {{file_for(base, ".FRT"), image, std::nullopt},
                              {file_for(base, ".LCH"), entries, std::nullopt}};
    std::string error;
    if (!write_files_atomic(pair, &error)) {
        messages().inform("ERROR: Can't Save Nutrient File in file_SaveInfo()!\n" + error,
                          kErrorCaption, MessageIcon::Error);
        return 0;
    }
    return 1;
}

std::string nutrient_base_for_field(std::string_view field_name, int planting_day)
{
    return std::string(field_name) + format_date(planting_day, "%y");
}

float preplant_nitrogen(const NutrientBlock &block)
{
    return block.first_entry_nitrogen > 0 ? static_cast<float>(block.first_entry_nitrogen) : 0.0f;
}

FieldNitrogenReadBack field_nitrogen_read_back(const NutrientBlock &block)
{
    const MassBalanceResult &m = block.mass_balance;
    FieldNitrogenReadBack r;
    r.irrigation_nitrate = block.inputs.irrigation_nitrate;
    r.yield_goal = block.inputs.yield_goal;
    r.soil_nitrogen_at_planting = preplant_nitrogen(block) + m.residual + m.organic_matter +
                                  m.crop_residue + m.legume + m.manure - m.denitrification;
    return r;
}

} // namespace tw
