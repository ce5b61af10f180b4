#include "location/reference_et.h"

#include "location/location_doc.h"
#include "refdata/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tw {
namespace {

constexpr double kTwoPi = 6.283185308;
constexpr double kPi = 3.141592654;
constexpr double kLangleysPerMj = 23.892;
// Kimberly Penman's clear-sky conversion has always used the shorter constant.
constexpr double kKimberlyLangleysPerMj = 23.89;
constexpr double kKimberlyWindLimit = 273.7; // km/day

// Station descriptions and imported days can hold anything; a zero divisor or the root of a
// negative number must yield 0 rather than an infinity or NaN stored as the day's ETr.
double quotient(double numerator, double divisor)
{
    return divisor == 0.0 ? 0.0 : numerator / divisor;
}

double root(double x)
{
    return x < 0.0 ? 0.0 : std::sqrt(x);
}

// A negative base has no real fractional power (a negative anemometer height, an elevation
// above the atmosphere); it yields 0 like the cases above.
double power(double base, double exponent)
{
    if (base < 0.0 && exponent != std::floor(exponent))
        return 0.0;
    return std::pow(base, exponent);
}

// acos of a rounding-inflated argument, and the polar sunset angle (no sunset, no sunrise).
double arc_cosine(double x)
{
    return std::acos(std::clamp(x, -1.0, 1.0));
}

double mean(double a, double b)
{
    return (a + b) / 2.0;
}

// Wind at 2 m from wind at the anemometer height.
double wind_height_factor(double anemometer_height, double exponent)
{
    return power(quotient(2.0, anemometer_height), exponent);
}

double square(double x)
{
    return x * x;
}

} // namespace

float to_float(double value)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (value > std::numeric_limits<float>::max())
        return kInfinity;
    if (value < -std::numeric_limits<float>::max())
        return -kInfinity;
    return static_cast<float>(value);
}

double es_mb(double t)
{
    return 33.8639 * (std::pow(0.00738 * t + 0.8072, 8) - 0.000019 * (1.8 * t + 48.0) + 0.001316);
}

double es_kpa(double t)
{
    return 0.6108 * std::exp(quotient(17.27 * t, t + 237.3));
}

double latent_heat(double t)
{
    return 597.3 - 0.564 * t;
}

float pressure_from_elevation(float elevation)
{
    const double z = elevation;
    return to_float(1013.0 - 0.1152 * z + 5.44e-6 * z * z);
}

JensenHaiseCoefficients jensen_haise_coefficients(float elevation, float warm_month_tmin,
                                                  float warm_month_tmax, const CustomSettings &cs)
{
    const double z = elevation;
    const double spread = es_mb(warm_month_tmax) - es_mb(warm_month_tmin);
    const double c1 = cs.jh_c1_base - quotient(2.0 * z, cs.jh_elev_step);
    const double ch = quotient(cs.jh_ch_numerator, spread);
    const double ct = quotient(1.0, c1 + cs.jh_c2 * ch);
    const double tx = cs.jh_tx_base + cs.jh_tx_slope * spread - quotient(z, cs.jh_tx_elev_divisor);
    return {to_float(ct), to_float(tx)};
}

float displayed_pressure(float elevation_shown)
{
    return convert_to(Pressure, pressure_from_elevation(convert_from(Height, elevation_shown)));
}

JensenHaiseCoefficients displayed_jensen_haise(float elevation_shown, float tmin_shown,
                                               float tmax_shown)
{
    const JensenHaiseCoefficients jh = jensen_haise_coefficients(
        convert_from(Height, elevation_shown), convert_from(Temperature, tmin_shown),
        convert_from(Temperature, tmax_shown));
    return {convert_to(Inv_Temperature, jh.ct), convert_to(Temperature, jh.tx)};
}

double clear_sky_radiation_mj(double latitude, double elevation, int day_of_year,
                              const CustomSettings &cs)
{
    const double mean_term =
        cs.rso_mean_const - cs.rso_mean_lat * latitude + cs.rso_mean_elev * elevation;
    const double amplitude =
        cs.rso_amp_const + cs.rso_amp_lat * latitude + cs.rso_amp_elev * elevation;
    return mean_term + amplitude * std::cos(kTwoPi * day_of_year / 365.0 - cs.rso_phase);
}

double soil_heat(const CLocationDoc &location, int i, const CustomSettings &cs)
{
    if (i < 0 || i >= location.day_count())
        return 0.0;
    return soil_heat(location, i, location.day(i), cs);
}

double soil_heat(const CLocationDoc &location, int i, const WeatherDay &today,
                 const CustomSettings &cs)
{
    if (cs.soil_heat_method != 2 || i < 4 || i >= location.day_count())
        return 0.0;
    double previous = 0.0;
    for (int k = i - 3; k < i; ++k) {
        const WeatherDay &d = location.day(k);
        if (d.has_data == 0)
            return 0.0;
        previous += mean(d.t_min, d.t_max);
    }
    return 9.0 * (previous / 3.0 - mean(today.t_min, today.t_max));
}

float radiation_from_cloud_cover(int cloud_class, int day_of_year, float latitude, float elevation)
{
    static constexpr std::array<double, 5> kCloudFraction = {0.0, 0.1, 0.2, 0.4, 0.8};
    const double c = cloud_class >= 0 && cloud_class < 5
                         ? kCloudFraction[static_cast<std::size_t>(cloud_class)]
                         : 0.0;
    const double phi = latitude / 360.0 * 2.0 * kPi;
    const double a = elevation / 1000.0;
    const double g = (day_of_year - 1) * kTwoPi / 365.0;
    const double decl = 0.006918 - 0.399912 * std::cos(g) + 0.070257 * std::sin(g) -
                        0.006758 * std::cos(2 * g) + 0.000907 * std::sin(2 * g) -
                        0.002697 * std::cos(3 * g) + 0.00148 * std::sin(3 * g);
    const double ws = arc_cosine(-std::tan(phi) * std::tan(decl));
    const double ra = 37.677704602883246 * std::sin(phi) * std::sin(decl) * (ws - std::tan(ws));
    const double a0 = 0.97 * (0.4237 - 0.00821 * square(6.0 - a));
    const double a1 = 0.99 * (0.5055 + 0.00585 * square(6.5 - a));
    const double k = 1.02 * (0.2711 + 0.01858 * square(2.5 - a));
    const double zenith =
        arc_cosine(std::cos(phi) * std::cos(decl) + std::sin(phi) * std::sin(decl));
    const double tau_b = a0 + a1 * std::exp(-quotient(k, std::cos(zenith)));
    const double tau_d = 0.271 - 0.2939 * tau_b;
    return to_float((1.0 - c) * (tau_b + tau_d) * ra * kLangleysPerMj);
}

double kimberly_penman(const EtDay &day, const CLocationDoc &location, const CustomSettings &cs)
{
    const double t = mean(day.t_min, day.t_max);
    const double rh = mean(day.rh_min, day.rh_max);
    const double lambda = latent_heat(t);
    const double gamma = quotient(0.386 * location.pressure, lambda);
    const double delta = 2.01 * std::pow(0.00738 * t + 0.8072, 7) - 0.00116;
    const double w = quotient(delta, delta + gamma);
    const double es = es_mb(t);
    const double ea = rh * es;
    double deficit = 0.0;
    switch (cs.vpd_method) {
    case 1: deficit = es - ea; break;
    case 2: deficit = (1.0 - rh) * es; break;
    default: deficit = mean(es_mb(day.t_min), es_mb(day.t_max)) - ea; break;
    }
    const double rso =
        clear_sky_radiation_mj(location.latitude, location.elevation, day.day_of_year, cs) *
        kKimberlyLangleysPerMj;
    const double rbo = (cs.emis_a + cs.emis_b * root(ea)) * 1.171e-7 * std::pow(t + 273.15, 4);
    const double rnl = (cs.rnl_a * quotient(day.solar_radiation, rso) + cs.rnl_b) * rbo;
    const double rn = (1.0 - cs.albedo) * day.solar_radiation - rnl;
    const double u = std::min(day.wind_run, kKimberlyWindLimit);
    const double u2 = u * wind_height_factor(location.anemometer_height, cs.wind_exponent);
    const double wf = cs.wind_a + cs.wind_b * u2;
    return quotient(10.0, lambda) * (w * (rn + day.soil_heat) + (1.0 - w) * 15.36 * wf * deficit);
}

double standardized_penman(const EtDay &day, const CLocationDoc &location, const CustomSettings &cs)
{
    const double rs = day.solar_radiation / kLangleysPerMj;
    const bool grass = location.reference_type == 0 || location.reference_type == 1;
    const double cn = grass ? 900.0 : 1600.0;
    const double cd = grass ? 0.34 : 0.38;
    // The station adjustment applies to temperatures only: the humidities are fractions.
    const double adjustment = (static_cast<double>(location.delta_t) - location.k_zero) / 2.0;
    const double t_min = day.t_min - adjustment;
    const double t_max = day.t_max - adjustment;
    const double t = mean(t_min, t_max);
    const double p_kpa = 101.3 * power((293.0 - 0.0065 * location.elevation) / 293.0, 5.26);
    const double gamma = 0.000665 * p_kpa;
    const double delta =
        quotient(2504.0 * std::exp(quotient(17.27 * t, t + 237.3)), square(t + 237.3));
    const auto e0 = es_kpa;
    const double es = mean(e0(t_min), e0(t_max));
    const double ea = (e0(t_min) * day.rh_max + e0(t_max) * day.rh_min) / 2.0;
    const double rso =
        clear_sky_radiation_mj(location.latitude, location.elevation, day.day_of_year, cs);
    const double ratio = std::clamp(quotient(rs, rso), 0.25, 1.0);
    const double rnl = 4.901e-9 * (std::pow(t_max + 273.16, 4) + std::pow(t_min + 273.16, 4)) /
                       2.0 * (0.34 - 0.14 * root(ea)) * (1.35 * ratio - 0.35);
    const double rn = 0.77 * rs - rnl;
    // G' is the Kimberly figure in langley/day (0 unless soil heat method 2), here in MJ.
    const double g = day.soil_heat / kLangleysPerMj;
    const double u2 =
        day.wind_run / 86.4 * wind_height_factor(location.anemometer_height, cs.wind_exponent);
    return quotient(0.408 * delta * (rn - g) + gamma * quotient(cn, t + 273.0) * u2 * (es - ea),
                    delta + gamma * (1.0 + cd * u2));
}

double jensen_haise(const EtDay &day, const CLocationDoc &location)
{
    const double t = mean(day.t_min, day.t_max);
    return quotient(10.0, latent_heat(t)) * location.jh_ct * (t - location.jh_tx) *
           day.solar_radiation;
}

double hargreaves(const EtDay &day, const CLocationDoc &location, const CustomSettings &cs)
{
    const double t = mean(day.t_min, day.t_max);
    // The wind bands are bounds on the stored single-precision wind: 193.11 typed in a day is
    // the float nearest 193.11, which must fall in the middle band.
    const float u2 =
        to_float(day.wind_run * wind_height_factor(location.anemometer_height, cs.wind_exponent));
    double k = 1.2;
    if (u2 < 128.74f)
        k = 1.066667;
    else if (u2 <= 193.11f)
        k = 1.133333;
    return quotient(0.1485, latent_heat(t)) * k * day.solar_radiation * (t + 17.8);
}

double equation_etr(const CLocationDoc &location, int i, const CustomSettings &cs)
{
    return equation_etr(location, i, location.day(i), cs);
}

double equation_etr(const CLocationDoc &location, int i, const WeatherDay &d,
                    const CustomSettings &cs)
{
    EtDay day;
    day.t_min = d.t_min;
    day.t_max = d.t_max;
    day.rh_min = d.rh_min;
    day.rh_max = d.rh_max;
    day.solar_radiation = d.solar_radiation;
    day.wind_run = d.wind_run;
    day.day_of_year = day_of_year(location.date_of(i));
    switch (location.et_method) {
    case KimberlyPenman:
        day.soil_heat = soil_heat(location, i, d, cs);
        return kimberly_penman(day, location, cs);
    case StandardizedPenman:
        day.soil_heat = soil_heat(location, i, d, cs);
        return standardized_penman(day, location, cs);
    case JensenHaise: return jensen_haise(day, location);
    case Hargreaves: return hargreaves(day, location, cs);
    default: return 0.0;
    }
}

float final_etr(float computed, float alternate)
{
    return alternate != 0.0f ? alternate : computed;
}

} // namespace tw
