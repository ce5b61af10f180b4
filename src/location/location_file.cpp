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

// Values added after the day records follow this marker ("TWL1"), as blocks of a tag, a byte
// length and that many bytes. Files without them end with the days, so older files read as having
// none and older readers stop before the marker; a reader skips the blocks it does not know.
constexpr std::int32_t kLaterValuesMarker = 0x314C5754;
constexpr std::int32_t kSourceTag = 0x43525357;   // "WSRC"
constexpr std::int32_t kForecastTag = 0x54534346; // "FCST"

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

void write_block(ArchiveWriter &out, std::int32_t tag, const ArchiveWriter &block)
{
    out.write_int32(tag);
    out.write_uint32(static_cast<std::uint32_t>(block.bytes().size()));
    out.write_bytes(block.bytes());
}

void write_later_values(ArchiveWriter &out, const CLocationDoc &location)
{
    if (location.source.empty() && location.forecast.empty())
        return;
    out.write_int32(kLaterValuesMarker);
    if (!location.source.empty()) {
        ArchiveWriter block;
        const WeatherSource &s = location.source;
        for (const std::string *text : {&s.url, &s.station, &s.preset, &s.map, &s.forecast_url})
            block.write_string(*text);
        write_block(out, kSourceTag, block);
    }
    if (!location.forecast.empty()) {
        ArchiveWriter block;
        block.write_int32(location.forecast.first);
        block.write_count(static_cast<std::uint32_t>(location.forecast.days.size()));
        for (const WeatherDay &d : location.forecast.days)
            block.write_bytes(encode_day(d));
        write_block(out, kForecastTag, block);
    }
}

bool read_source(ArchiveReader &in, WeatherSource &source)
{
    WeatherSource read;
    for (std::string *text :
         {&read.url, &read.station, &read.preset, &read.map, &read.forecast_url})
        *text = in.read_string();
    if (in.ok())
        source = std::move(read);
    return in.ok();
}

bool read_forecast(ArchiveReader &in, const CLocationDoc &location, ForecastDays &forecast)
{
    ForecastDays read;
    read.first = in.read_int32();
    const std::uint32_t count = in.read_count(kWeatherDaySize);
    if (!in.ok() || read.first < 0 || read.first > location.day_count())
        return false;
    for (std::uint32_t k = 0; k < count && in.ok(); ++k)
        read.days.push_back(decode_day(in.read_bytes(kWeatherDaySize)));
    if (in.ok())
        forecast = std::move(read);
    return in.ok();
}

// The blocks after the marker; false (keeping the blocks read before it) at the first one that
// cannot be read whole.
bool read_later_values(ArchiveReader &in, CLocationDoc &location, std::string *detail)
{
    if (in.remaining() < 4 || in.read_int32() != kLaterValuesMarker)
        return true;
    while (in.remaining() > 0) {
        const std::size_t at = in.offset();
        const std::int32_t tag = in.read_int32();
        const std::uint32_t length = in.read_uint32();
        const auto bytes = in.read_bytes(length);
        ArchiveReader block(bytes);
        const bool read = !in.ok()              ? false
                          : tag == kSourceTag   ? read_source(block, location.source)
                          : tag == kForecastTag ? read_forecast(block, location, location.forecast)
                                                : true;
        if (!read) {
            if (detail)
                *detail =
                    "offset " + std::to_string(at) + ": the values after the days cannot be read";
            return false;
        }
    }
    return true;
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
    write_later_values(out, location);
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
    location.source = {};
    location.forecast = {};
    if (whole_days < count) {
        if (detail)
            *detail = "the file holds " + std::to_string(whole_days) + " of " +
                      std::to_string(count) + " days";
        return LocationRead::DaysCut;
    }
    return read_later_values(in, location, detail) ? LocationRead::Complete : LocationRead::DaysCut;
}

void copy_stored_values(const CLocationDoc &from, CLocationDoc &to)
{
    decode_location(encode_location(from), to);
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

SaveOutcome save_location_file(CLocationDoc &location, const std::filesystem::path &path)
{
    return save_document(location, encode_location(location), path,
                         "Unable to save the location file " + path.string());
}

} // namespace tw
