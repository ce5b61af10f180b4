#include "field/nutrient_readback.h"

#include "field/field_doc.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"

#include <algorithm>

namespace tw {
namespace {

// The few values of the 664-byte nutrient block the field reads, at their offsets in the block.
// The block's own codec belongs to the fertility consultation; switch to it once it reads files.
constexpr std::size_t kNutrientBlockSize = 664;
namespace at {
constexpr std::size_t yield_goal = 88, irrigation_nitrate = 264, residual = 612,
                      organic_matter = 616, crop_residue = 620, legume = 624, manure = 628,
                      denitrification = 636, first_entry_nitrogen = 660;
static_assert(first_entry_nitrogen + 4 == kNutrientBlockSize);
} // namespace at

} // namespace

bool read_nutrient_values(CFieldDoc &field)
{
    if (const auto reason = unsafe_file_name_reason(field.name, "field")) {
        messages().inform(*reason);
        return false;
    }
    const std::string name = field.nutrient_file_name();
    const auto block = read_file(work_file(name), kNutrientBlockSize);
    if (!block) {
        messages().inform("Unable to open the nutrient file: " + name);
        return false;
    }
    if (block->size() < kNutrientBlockSize) {
        messages().inform("Unable to read from the file: " + name);
        return false;
    }
    using namespace codec;
    field.n1 = get_f32(*block, at::irrigation_nitrate);
    field.n4 = get_f32(*block, at::yield_goal);
    if (field.n3 <= 0.0f) {
        // No Preplant entry is stored as -1: it adds no nitrogen.
        const std::int32_t first = std::max(get_i32(*block, at::first_entry_nitrogen), 0);
        field.n2 = static_cast<float>(first) + get_f32(*block, at::residual) +
                   get_f32(*block, at::organic_matter) + get_f32(*block, at::crop_residue) +
                   get_f32(*block, at::legume) + get_f32(*block, at::manure) -
                   get_f32(*block, at::denitrification);
        field.n3 = 0.1f;
    }
    return true;
}

} // namespace tw
