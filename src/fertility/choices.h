#pragma once

#include <array>
#include <span>
#include <string_view>

// The choice lists of the consultation pages; a choice member of FertilityInputs holds the index
// of its text here.
namespace tw::choice {

inline constexpr std::array<std::string_view, 12> kTextures = {"CLAY",
                                                               "CLAY LOAM",
                                                               "LOAM",
                                                               "LOAMY SAND",
                                                               "SAND",
                                                               "SANDY CLAY",
                                                               "SANDY CLAY LOAM",
                                                               "SANDY LOAM",
                                                               "SILT",
                                                               "SILTY CLAY",
                                                               "SILTY CLAY LOAM",
                                                               "SILTY LOAM"};

inline constexpr std::array<std::string_view, 5> kPotassiumLevels = {
    "Low            (0-60 ppm)", "Medium    (61-120 ppm)", "High           (121-180 ppm)",
    "Very High (> 180 ppm)", "No Results"};
inline constexpr std::array<std::string_view, 4> kPhosphorusTests = {"Olsen ", "Bray", "AB-ADTP",
                                                                     "No Results"};
inline constexpr std::array<std::string_view, 6> kSampleDepths = {
    "< 1 Foot", "1-2 Feet", "1-3 Feet", "1-4 Feet", "1-5 Feet", "Unknown"};
inline constexpr std::array<std::string_view, 26> kPreviousCrops = {
    "Alfalfa",       "Barley",   "Beans (dry)", "Corn",         "Fallow",     "Hay",    "Oats",
    "Pasture/Grass", "Potatoes", "Sorghum",     "Sugarbeets",   "Sunflowers", "Wheat",  "Carrots",
    "Clover",        "Cowpeas",  "Cucumbers",   "Legume Grass", "Lettuce",    "Lupine", "Millet",
    "Onions",        "Peas",     "Soybeans",    "Sudan",        "Tomatoes"};
inline constexpr std::array<std::string_view, 3> kPreviousYields = {"High", "Average", "Low"};
inline constexpr std::array<std::string_view, 3> kResidueLeft = {"High", "Medium", "Low"};
inline constexpr std::array<std::string_view, 6> kTillage = {
    "No-Till", "Moldboard Plow", "Chisel Plow", "Ridge Till", "Disk", "Other"};
inline constexpr std::array<std::string_view, 2> kLegumeHarvest = {"Harvested", "Plowed Under"};
inline constexpr std::array<std::string_view, 4> kPreLegumeNitrogen = {"Low ", "Average", "High",
                                                                       "Extremely High"};
inline constexpr std::array<std::string_view, 7> kManureTypes = {
    "Beef", "Dairy", "Horse", "Poultry", "Sheep", "Swine", "Other"};
inline constexpr std::array<std::string_view, 2> kManureForms = {"Solid", "Liquid"};
inline constexpr std::array<std::string_view, 4> kManureMethods = {
    "Broadcast", "Surface Incorporation", "Knife/Injection", "Other"};
inline constexpr std::array<std::string_view, 5> kDrainageClasses = {
    "Very Well Drained", "Well Drained", "Moderately Well Drained", "Somewhat Poorly Drained",
    "Poorly Drained"};
inline constexpr std::array<std::string_view, 3> kMaterialStates = {"Solid", "Liquid", "Gas"};
inline constexpr std::array<std::string_view, 3> kRainExpected = {
    "None within 7 days", "0 to .25 inches", "more than .25 inches"};
inline constexpr std::array<std::string_view, 5> kVolatility = {
    "Stable", "Alkaline", "NH4-Slightly Volatile", "NH4-Volatile", "NH4-Very Volatile"};

enum PreviousCrop : int {
    CropAlfalfa = 0,
    CropBeansDry = 2,
    CropCorn = 3,
    CropClover = 14,
    CropCowpeas = 15,
    CropLegumeGrass = 17,
    CropLupine = 19,
    CropSoybeans = 23,
};

enum Tillage : int {
    NoTill = 0,
    Moldboard = 1,
    Chisel = 2,
    RidgeTill = 3,
    Disk = 4,
    OtherTillage = 5
};
enum ManureType : int { Beef = 0, Dairy = 1, Horse = 2, Poultry = 3, Sheep = 4, Swine = 5 };
enum ManureMethod : int { SurfaceIncorporation = 1, KnifeInjection = 2 };
enum SampleDepth : int { LessThanOneFoot = 0, UnknownDepth = 5 };

} // namespace tw::choice
