#include "platform/edition.h"

namespace tw {
namespace {

constexpr Edition kCurrent{
    2, "Tillwise", CropLayout::Current, StationLayout::Current, true, true, true, true, true, true};
constexpr Edition kRelease1{
    1,     "Tillwise 1", CropLayout::Release1, StationLayout::Release1, false, false, false, false,
    false, false};

const Edition *running = &kCurrent;

} // namespace

const Edition &current_release()
{
    return kCurrent;
}

const Edition &release1()
{
    return kRelease1;
}

const Edition *edition_of_release(std::int32_t release)
{
    if (release == kCurrent.release)
        return &kCurrent;
    if (release == kRelease1.release)
        return &kRelease1;
    return nullptr;
}

const Edition &edition()
{
    return *running;
}

void set_edition(const Edition &edition)
{
    running = &edition;
}

} // namespace tw
