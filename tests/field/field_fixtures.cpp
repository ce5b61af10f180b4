#include "field_fixtures.h"

#include "platform/dates.h"
#include "refdata/database.h"

namespace tw::test {
CropRecord corn()
{
    return default_corn_record();
}

CropRecord short_crop()
{
    CropRecord c;
    db_InitCrop(c, 1);
    c.name = "SHORT";
    return c;
}

SoilRecord loam()
{
    return {3, "Loam", "Loam", 0.3425f, 0.1333f, 0.2092f};
}

std::unique_ptr<CLocationDoc> make_location(int days, int weather_days, Weather weather)
{
    auto location = std::make_unique<CLocationDoc>();
    location->name = "Greeley";
    location->start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    location->days.assign(static_cast<std::size_t>(days), WeatherDay{});
    for (int i = 0; i < weather_days && i < days; ++i) {
        WeatherDay &w = location->day(i);
        w.has_data = 1;
        w.t_min = weather.t_min;
        w.t_max = weather.t_max;
        w.rain = weather.rain;
        w.etr = w.etr_used = weather.etr;
    }
    return location;
}

std::unique_ptr<CFieldDoc> make_field(CLocationDoc &location, const CropRecord &crop, int offset,
                                      std::int32_t system)
{
    return new_field(location, [&](CFieldDoc &f) {
        f.saved.name = "north";
        f.saved.crop = crop;
        f.saved.soil = loam();
        f.saved.select_system(system);
        f.saved.planting_date = StoredDate::from_day(location.start_date.day() + offset);
        return true;
    });
}

std::string hint_text(ViewHint hint)
{
    switch (hint.kind) {
    case ViewHint::Kind::Day: return "day " + std::to_string(hint.day);
    case ViewHint::Kind::Everything: return "everything";
    case ViewHint::Kind::PlantingDate: return "planting date";
    case ViewHint::Kind::LocationFields: return "fields";
    }
    return {};
}

} // namespace tw::test
