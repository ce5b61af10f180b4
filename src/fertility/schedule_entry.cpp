#include "fertility/schedule_entry.h"

#include "fertility/record_fields.h"

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

template<class Entry, class Visitor>
void visit_entry(Entry &e, Visitor &&v)
{
    v.word(entry::phase, e.phase);
    v.word(entry::fertigation_number, e.fertigation_number);
    v.text(entry::material, e.material, entry::material_width);
    v.text(entry::method, e.method, entry::method_width);
    v.word(entry::nitrogen, e.nitrogen);
    v.word(entry::phosphorus, e.phosphorus);
    v.word(entry::potassium, e.potassium);
    v.word(entry::amount, e.amount);
}

} // namespace

ScheduleEntryImage encode_schedule_entry(const ScheduleEntry &e)
{
    ScheduleEntryImage b{};
    visit_entry(e, FieldWriter{b});
    return b;
}

ScheduleEntry decode_schedule_entry(std::span<const std::uint8_t, kScheduleEntrySize> b)
{
    ScheduleEntry e;
    visit_entry(e, FieldReader{b});
    return e;
}

} // namespace tw
