#pragma once

#include "refdata/custom_settings.h"

#include <cstdint>

// Reference evapotranspiration of one day by the location's equation, and the station helpers
// the location sheet and the station database share. Inputs are stored in single precision; the
// arithmetic is carried in double precision and only the result is rounded to a float.
namespace tw {

class CLocationDoc;
struct WeatherDay;

/// A double narrowed to a float, out-of-range values becoming infinities (a bare cast of those
/// is undefined).
float to_float(double value);

/// Saturation vapour pressure (mb) at T (°C).
double es_mb(double t);
/// Saturation vapour pressure (kPa) at T (°C), FAO-56 Eq. 11.
double es_kpa(double t);
/// Latent heat of vaporisation (cal/g) at T (°C).
double latent_heat(double t);
/// Average station pressure (mb) at an elevation (m).
float pressure_from_elevation(float elevation);

struct JensenHaiseCoefficients
{
    float ct = 0.0f; ///< 1/°C
    float tx = 0.0f; ///< °C
};
/// Ct and Tx from the elevation (m) and the warmest month's mean minimum and maximum (°C).
JensenHaiseCoefficients jensen_haise_coefficients(float elevation, float warm_month_tmin,
                                                  float warm_month_tmax,
                                                  const CustomSettings &cs = custom_settings());

/// The two helpers as the station page and the station dialog show them: typed values and
/// results in the display units of Height, Temperature, Pressure and Inv_Temperature.
float displayed_pressure(float elevation_shown);
JensenHaiseCoefficients displayed_jensen_haise(float elevation_shown, float tmin_shown,
                                               float tmax_shown);

/// Clear-sky solar radiation of the Penman equations, MJ/m²/day.
double clear_sky_radiation_mj(double latitude, double elevation, int day_of_year,
                              const CustomSettings &cs);

/// The soil heat term G' (langley/day) of day i: non-zero only with soil heat method 2 when the
/// three days before it hold weather.
double soil_heat(const CLocationDoc &location, int i, const CustomSettings &cs);
/// The same with the values of day i given (a forecast day's, which is not among the days).
double soil_heat(const CLocationDoc &location, int i, const WeatherDay &today,
                 const CustomSettings &cs);

/// Clear-sky radiation (langley/day) dimmed by a cloud-cover class 0..4.
float radiation_from_cloud_cover(int cloud_class, int day_of_year, float latitude, float elevation);

/// The working copy of one day that the equations read (the stored day is never changed).
struct EtDay
{
    double t_min = 0.0;
    double t_max = 0.0;
    double rh_min = 0.0;
    double rh_max = 0.0;
    double solar_radiation = 0.0; ///< langley/day
    double wind_run = 0.0;        ///< km/day
    int day_of_year = 1;
    double soil_heat = 0.0; ///< G', langley/day
};

double kimberly_penman(const EtDay &day, const CLocationDoc &location, const CustomSettings &cs);
double standardized_penman(const EtDay &day, const CLocationDoc &location,
                           const CustomSettings &cs);
double jensen_haise(const EtDay &day, const CLocationDoc &location);
double hargreaves(const EtDay &day, const CLocationDoc &location, const CustomSettings &cs);

/// The ETr of day i by the location's `et_method`; 0 for ETR and unknown methods.
double equation_etr(const CLocationDoc &location, int i, const CustomSettings &cs);
/// The ETr of the values `d` placed on day i (a forecast day's).
double equation_etr(const CLocationDoc &location, int i, const WeatherDay &d,
                    const CustomSettings &cs);

/// A typed or imported ETr always wins over the computed one.
float final_etr(float computed, float alternate);

} // namespace tw
