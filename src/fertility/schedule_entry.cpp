#include "fertility/schedule_entry.h"

#include "platform/record_codec.h"

namespace tw {
namespace {

using namespace codec;

namespace entry {
constexpr std::size_t phase = 0, fertigation_number = 4, material = 8, method = 38, nitrogen = 60,
                      phosphorus = 64, potassium = 68, amount = 72;
constexpr std::size_t material_width = 30, method_width = 22;
static_assert(material + material_width == method && method + method_width == nitrogen);
static_assert(amount + 4 == kScheduleEntrySize);
} // namespace entry

} // namespace

ScheduleEntryImage encode_schedule_entry(const ScheduleEntry &e)
{
    ScheduleEntryImage b{};
    put_i32(b, entry::phase, e.phase);
    put_i32(b, entry::fertigation_number, e.fertigation_number);
    put_text(b, entry::material, entry::material_width, e.material);
    put_text(b, entry::method, entry::method_width, e.method);
    put_f32(b, entry::nitrogen, e.nitrogen);
    put_f32(b, entry::phosphorus, e.phosphorus);
    put_f32(b, entry::potassium, e.potassium);
    put_f32(b, entry::amount, e.amount);
    return b;
}

ScheduleEntry decode_schedule_entry(std::span<const std::uint8_t, kScheduleEntrySize> b)
{
    ScheduleEntry e;
    e.phase = get_i32(b, entry::phase);
    e.fertigation_number = get_i32(b, entry::fertigation_number);
    e.material = get_text(b, entry::material, entry::material_width);
    e.method = get_text(b, entry::method, entry::method_width);
    e.nitrogen = get_f32(b, entry::nitrogen);
    e.phosphorus = get_f32(b, entry::phosphorus);
    e.potassium = get_f32(b, entry::potassium);
    e.amount = get_f32(b, entry::amount);
    return e;
}

} // namespace tw
