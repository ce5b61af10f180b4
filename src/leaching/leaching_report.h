#pragma once

#include "leaching/leaching_analysis.h"

#include <string>
#include <string_view>
#include <vector>

// What the "Leaching Analysis Results" window shows of a summary: two groups of labelled values
// with their grade words, and the advice paragraph of the third group. The window and the
// command line both present these.
namespace tw {

inline constexpr std::string_view kLeachingReportCaption = "Leaching Analysis Results";
inline constexpr std::string_view kIrrigationGroupTitle = "Irrigation Management (in)";
inline constexpr std::string_view kFertilityGroupTitle = "Fertility Managemen (LB/Acre)";
inline constexpr std::string_view kRecommendationsTitle = "Recommendations";
inline constexpr std::string_view kWaterStressTitle = "Water Stress (in)";

/// A label and its value, with the grade word shown beside it on some lines.
struct ReportLine
{
    std::string_view label;
    std::string value;
    std::string_view grade; ///< empty when the line has none
    bool hidden = false;    ///< kept in the window but not shown
};

struct ReportGroup
{
    std::string_view title;
    std::vector<ReportLine> lines;
};

/// Water applied, irrigations, the Leaching Index's grade and the deep percolation, in inches.
ReportGroup irrigation_group(const LeachingSummary &summary);
/// Nitrogen applied, its applications ("Unknown" when there were none) and the nitrate leached.
ReportGroup fertility_group(const LeachingSummary &summary);

/// The advice: one sentence for each of the four grades, then the reduction advice when nitrate
/// was left available at the end and some leached. A crop that was under water stress on any
/// day is not praised for its management.
std::string advice_paragraph(const LeachingSummary &summary, const WaterStress &stress);

/// The days past the critical deficit and the largest deficit, shown after the recommendations.
ReportGroup water_stress_group(const WaterStress &stress);
/// One sentence when the crop was short of water on any day, else nothing.
std::string water_stress_sentence(const WaterStress &stress);

/// The notice shown before the report of a midseason leaching consultation.
struct ConsultationNotice
{
    std::string_view caption;
    std::string_view text;
    std::string_view date_label;
    std::string date; ///< the midseason soil test, "%m/%d/%y"
    std::string_view button;
};

ConsultationNotice leaching_consultation_notice(int consultation_date);

} // namespace tw
