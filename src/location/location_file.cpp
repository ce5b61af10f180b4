#include "location/location_file.h"

#include "location/location_doc.h"
#include "platform/archive.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/record_codec.h"
#include "platform/text_encoding.h"

#include <array>

namespace tw {
namespace {

// Word offsets of a day record.
namespace day_at {
constexpr std::size_t has_data = 0;
constexpr std::size_t t_min = 4;
constexpr std::size_t t_max = 8;
constexpr std::size_t rh_min = 12;
constexpr std::size_t rh_max = 16;
constexpr std::size_t solar_radiation = 20;
constexpr std::size_t cloud_cover = 24;
constexpr std::size_t wind_run = 28;
constexpr std::size_t rain = 32;
constexpr std::size_t etr = 36;
constexpr std::size_t alternate_etr = 40;
constexpr std::size_t etr_used = 44;
} // namespace day_at
static_assert(day_at::etr_used + 4 == kWeatherDaySize);

using DayImage = std::array<std::uint8_t, kWeatherDaySize>;

DayImage encode_day(const WeatherDay &d)
{
    DayImage b{};
    codec::put_i32(b, day_at::has_data, d.has_data);
    codec::put_f32(b, day_at::t_min, d.t_min);
    codec::put_f32(b, day_at::t_max, d.t_max);
    codec::put_f32(b, day_at::rh_min, d.rh_min);
    codec::put_f32(b, day_at::rh_max, d.rh_max);
    codec::put_f32(b, day_at::solar_radiation, d.solar_radiation);
    codec::put_i32(b, day_at::cloud_cover, d.cloud_cover);
    codec::put_f32(b, day_at::wind_run, d.wind_run);
    codec::put_f32(b, day_at::rain, d.rain);
    codec::put_f32(b, day_at::etr, d.etr);
    codec::put_f32(b, day_at::alternate_etr, d.alternate_etr);
    codec::put_f32(b, day_at::etr_used, d.etr_used);
    return b;
}

WeatherDay decode_day(std::span<const std::uint8_t> b)
{
    WeatherDay d;
    d.has_data = codec::get_i32(b, day_at::has_data);
    d.t_min = codec::get_f32(b, day_at::t_min);
    d.t_max = codec::get_f32(b, day_at::t_max);
    d.rh_min = codec::get_f32(b, day_at::rh_min);
    d.rh_max = codec::get_f32(b, day_at::rh_max);
    d.solar_radiation = codec::get_f32(b, day_at::solar_radiation);
    d.cloud_cover = codec::get_i32(b, day_at::cloud_cover);
    d.wind_run = codec::get_f32(b, day_at::wind_run);
    d.rain = codec::get_f32(b, day_at::rain);
    d.etr = codec::get_f32(b, day_at::etr);
    d.alternate_etr = codec::get_f32(b, day_at::alternate_etr);
    d.etr_used = codec::get_f32(b, day_at::etr_used);
    return d;
}

// Assigns a value just read only while the reader is sound, so that a failed header keeps the
// members read before the failure and the defaults after it.
class HeaderReader
{
public:
    explicit HeaderReader(ArchiveReader &in)
        : in_(in)
    {}
    template<typename T>
    void operator()(T &member, T value)
    {
        if (in_.ok())
            member = std::move(value);
    }

private:
    ArchiveReader &in_;
};

// A header that cannot be read leaves no day records; `what` says why when the reader itself
// did not fail.
void note_failure(const ArchiveReader &in, CLocationDoc &location, std::string *detail,
                  const std::string &what)
{
    if (detail)
        *detail =
            in.ok() ? "offset " + std::to_string(in.offset()) + ": " + what : in.error().message();
    location.days.clear();
}

// Everything before the day records.
bool decode_header(ArchiveReader &in, CLocationDoc &location, std::string *detail)
{
    HeaderReader take(in);
    take(location.name, cut_to_chars(in.read_string(), kLocationNameChars));
    const std::uint32_t names = in.read_count(1);
    if (in.ok() && names > kMaxFieldNames) {
        note_failure(in, location, detail, std::to_string(names) + " field names");
        return false;
    }
    location.field_names.clear();
    for (std::uint32_t k = 0; k < names && in.ok(); ++k) {
        std::string field_name = in.read_string();
        if (in.ok())
            location.field_names.push_back(std::move(field_name));
    }
    take(location.elevation, in.read_float());
    take(location.latitude, in.read_float());
    take(location.et_method, in.read_int32());
    take(location.start_date, in.read_date());
    for (float *member :
         {&location.pressure, &location.anemometer_height, &location.warm_month_tmin,
          &location.warm_month_tmax, &location.jh_ct, &location.jh_tx})
        take(*member, in.read_float());
    take(location.reference_type, in.read_int32());
    take(location.delta_t, in.read_float());
    take(location.k_zero, in.read_float());
    if (!in.ok())
        note_failure(in, location, detail, {});
    return in.ok();
}

} // namespace

std::vector<std::uint8_t> encode_location(const CLocationDoc &location)
{
    ArchiveWriter out;
    out.write_string(location.name);
    out.write_count(static_cast<std::uint32_t>(location.field_names.size()));
    for (const std::string &field_name : location.field_names)
        out.write_string(field_name);
    out.write_float(location.elevation);
    out.write_float(location.latitude);
    out.write_int32(location.et_method);
    out.write_date(location.start_date);
    for (const float value :
         {location.pressure, location.anemometer_height, location.warm_month_tmin,
          location.warm_month_tmax, location.jh_ct, location.jh_tx})
        out.write_float(value);
    out.write_int32(location.reference_type);
    out.write_float(location.delta_t);
    out.write_float(location.k_zero);
    out.write_count(static_cast<std::uint32_t>(location.days.size()));
    for (const WeatherDay &d : location.days)
        out.write_bytes(encode_day(d));
    return out.bytes();
}

LocationRead decode_location(std::span<const std::uint8_t> bytes, CLocationDoc &location,
                             std::string *detail)
{
    ArchiveReader in(bytes);
    if (!decode_header(in, location, detail))
        return LocationRead::Failed;
    // The day count may exceed what the file holds (a cut file keeps its season, the missing
    // days empty), but never what a season could have.
    const std::uint32_t count = in.read_count_raw();
    if (!in.ok() || count > kMaxLocationDays) {
        note_failure(in, location, detail, "day count " + std::to_string(count));
        return LocationRead::Failed;
    }
    location.days.assign(count, WeatherDay{});
    const std::size_t whole_days = std::min<std::size_t>(count, in.remaining() / kWeatherDaySize);
    for (std::size_t k = 0; k < whole_days; ++k)
        location.days[k] = decode_day(in.read_bytes(kWeatherDaySize));
    if (whole_days < count) {
        if (detail)
            *detail = "the file holds " + std::to_string(whole_days) + " of " +
                      std::to_string(count) + " days";
        return LocationRead::DaysCut;
    }
    return LocationRead::Complete;
}

LocationRead load_location_file(const std::filesystem::path &path, CLocationDoc &location,
                                std::string *detail)
{
    const auto bytes = read_file(path, kMaxLocationFileBytes + 1, detail);
    if (!bytes)
        return LocationRead::Unreadable;
    LocationRead result = LocationRead::Failed;
    if (bytes->size() > kMaxLocationFileBytes) {
        location.days.clear();
        if (detail)
            *detail = "the file is larger than any location";
    } else {
        result = decode_location(*bytes, location, detail);
    }
    if (result == LocationRead::Failed)
        messages().inform(kArchiveErrorMessage);
    location.set_path(path);
    location.set_disk_stamp(stamp_of(*bytes));
    return result;
}

bool save_location_file(CLocationDoc &location, const std::filesystem::path &path,
                        std::string *error)
{
    WriteFailure failure = WriteFailure::None;
    const std::vector<std::uint8_t> bytes = encode_location(location);
    std::string reason;
    if (!write_file_atomic(path, bytes, &reason, &failure, location.expected_stamp(path))) {
        if (error)
            *error = save_failure_message("Unable to save the location file " + path.string(),
                                          reason, failure);
        return false;
    }
    location.set_disk_stamp(stamp_of(bytes));
    location.set_path(path);
    location.set_modified(false);
    return true;
}

} // namespace tw
