#include "leaching/leaching_report.h"

#include "platform/dates.h"
#include "platform/text_format.h"

#include <array>
#include <utility>

namespace tw {
namespace {

using Sentences = std::array<std::string_view, 4>;

/// The reduction sentence writes the leached amount with one decimal.
constexpr float kSmallestShownLeaching = 0.05f;

constexpr Sentences kLeachedSentences = {
    " *  A negligible amount of nitrate is leaching indicating that your overall management is "
    "very good.\n",
    " *  A moderate amount of nitrate is leaching indicating that your overall management is "
    "fairly good\n",
    " *  A large amount of nitrate is leaching indicating that your overall management could be "
    "improved.\n",
    " *  An excessive amount of nitrate is leaching indicating that your overall management "
    "should be improved\n",
};

constexpr Sentences kIndexSentences = {
    " *  The Leaching Index is Low indicating that your climate and irrigation scheme pose a "
    "small risk of leaching nitrate.\n",
    " *  The Leaching Index is Medium indicating that your climate and irrigation scheme pose a "
    "moderate risk of leaching nitrate.\n",
    " *  The Leaching Index is High indicating that your climate and irrigation scheme pose a "
    "large risk of leaching nitrate.\n",
    " *  The Leaching Index is Excessive indicating that your climate and irrigation scheme pose "
    "a very large risk of leaching nitrate.\n",
};

constexpr Sentences kPercolationSentences = {
    " *  The amount of water Deep Percolating is Low indicating that you manage your water very "
    "well\n",
    " *  The amount of water Deep Percolating is Moderate indicating that you manage your water "
    "fairly well.\n",
    " *  The amount of water Deep Percolating is High indicating that you could improve your "
    "irrigation management.\n",
    " *  The amount of water Deep Percolating is Excessive indicating that you should improve "
    "your irrigation management.\n",
};

constexpr Sentences kAvailableSentences = {
    " *  The amount of Soil Nitrate Available for Leaching is Low indicating that you manage your "
    "fertilizer very well.\n",
    " *  The amount of Soil Nitrate Available for Leaching is Moderate indicating that you manage "
    "your fertilizer fairly well.\n",
    " *  The amount of Soil Nitrate Available for Leaching is High indicating that you could "
    "improve your fertility management.\n",
    " *  The amount of Soil Nitrate Available for Leaching is Excessive indicating that you "
    "should improve your fertility management.\n",
};

// A season that left the crop short of water is no season to praise, however little leached:
// the Low and Moderate grades then say what was measured and leave the judgement out.
constexpr Sentences kLeachedWhenStressed = {
    " *  A negligible amount of nitrate is leaching.\n",
    " *  A moderate amount of nitrate is leaching.\n",
};

constexpr Sentences kPercolationWhenStressed = {
    " *  The amount of water Deep Percolating is Low, but the crop was short of water: little "
    "percolation does not mean the irrigation kept up.\n",
    " *  The amount of water Deep Percolating is Moderate, but the crop was short of water: the "
    "irrigation did not keep up with the crop.\n",
};

constexpr Sentences kAvailableWhenStressed = {
    " *  The amount of Soil Nitrate Available for Leaching is Low.\n",
    " *  The amount of Soil Nitrate Available for Leaching is Moderate.\n",
};

std::string_view sentence(const Sentences &sentences, Grade grade)
{
    return sentences[static_cast<std::size_t>(grade) - 1];
}

/// The sentence of a grade; under water stress the praising grades take their plain wording.
std::string_view graded(const Sentences &usual, const Sentences &stressed_wording, Grade grade,
                        bool stressed)
{
    const bool praises = grade == Grade::Low || grade == Grade::Medium;
    return stressed && praises ? sentence(stressed_wording, grade) : sentence(usual, grade);
}

std::string inches_text(float value)
{
    return strprintf("%.2f", static_cast<double>(value));
}

std::string whole_text(float value)
{
    return strprintf("%d", truncate_to_int(value));
}

ReportLine line(std::string_view label, std::string value, std::string_view grade = {},
                bool hidden = false)
{
    return {label, std::move(value), grade, hidden};
}

std::string reduction_sentences(const LeachingSummary &s)
{
    std::string text =
        strprintf(" *  You could eliminate the %4.1f lb/acre of leaching by reducing "
                  "your Nitrogen Fertilizer from %4.1f lb/acre to %4.1f lb/acre. \n  ",
                  static_cast<double>(s.nitrate_leached), static_cast<double>(s.nitrogen_applied),
                  static_cast<double>(s.reduced_nitrogen));
    const double loss = static_cast<double>(s.yield_before) - s.yield_after;
    if (loss > 0.0) {
        text += strprintf("   This would, consequently, reduce your yield from %5.2f bu/acre to "
                          "%5.2f bu/acre, a loss of %5.2f bu/acre.\n",
                          static_cast<double>(s.yield_before), static_cast<double>(s.yield_after),
                          loss);
    } else {
        text += "   No yield loss should occur from this fertilizer reduction.\n";
    }
    return text;
}

} // namespace

ReportGroup irrigation_group(const LeachingSummary &s)
{
    return {
        kIrrigationGroupTitle,
        {
            line("Total Water Applied:", inches_text(s.water_applied)),
            line("Number of Applications:", strprintf("%d", s.irrigation_count)),
            line("Average Application:", inches_text(s.average_irrigation)),
            line("Average Irrigation Interval (days):",
                 strprintf("%.2f", static_cast<double>(s.irrigation_interval))),
            line("Leaching Index", std::string(grade_word(grade_leaching_index(s.leaching_index)))),
            line("Deep Percolation:", inches_text(s.deep_percolation)),
        }};
}

ReportGroup fertility_group(const LeachingSummary &s)
{
    const bool unknown = s.nitrogen_count == -1;
    return {kFertilityGroupTitle,
            {
                line("Total Nitrogen Applied:", whole_text(s.nitrogen_applied)),
                line("Number of Applications:",
                     unknown ? "Unknown" : strprintf("%d", s.nitrogen_count)),
                line("Average Application:",
                     unknown ? "Unknown"
                             : strprintf("%4.1f lb/acre", static_cast<double>(s.average_nitrogen))),
                line("Nitrogen Leached:", whole_text(s.nitrate_leached),
                     grade_word(grade_nitrate_leached(s.nitrate_leached))),
                line("Nitrogen Available For Leaching:", whole_text(s.nitrate_available),
                     grade_word(grade_nitrate_available(s.nitrate_available)), true),
            }};
}

std::string advice_paragraph(const LeachingSummary &s, const WaterStress &stress)
{
    const bool stressed = stress.days > 0;
    std::string text;
    text += graded(kLeachedSentences, kLeachedWhenStressed,
                   grade_nitrate_leached(s.nitrate_leached), stressed);
    text += sentence(kIndexSentences, grade_leaching_index(s.leaching_index));
    text += graded(kPercolationSentences, kPercolationWhenStressed,
                   grade_deep_percolation(s.deep_percolation), stressed);
    text += graded(kAvailableSentences, kAvailableWhenStressed,
                   grade_nitrate_available(s.nitrate_available), stressed);
    // The sentence shows the amount to a tenth: below that there is nothing to eliminate.
    if (s.nitrate_available > 0.0f && s.nitrate_leached >= kSmallestShownLeaching)
        text += reduction_sentences(s);
    return text;
}

ReportGroup water_stress_group(const WaterStress &stress)
{
    return {kWaterStressTitle,
            {
                line("Days Above Critical Deficit:", strprintf("%d", stress.days)),
                line("Largest Deficit:", inches_text(stress.largest_deficit)),
            }};
}

std::string water_stress_sentence(const WaterStress &stress)
{
    if (stress.days <= 0)
        return {};
    return strprintf(" *  The crop was under water stress on %d day%s; the largest deficit was "
                     "%.2f in. Irrigating before the deficit passes the critical level keeps the "
                     "yield.\n",
                     stress.days, stress.days == 1 ? "" : "s",
                     static_cast<double>(stress.largest_deficit));
}

ConsultationNotice leaching_consultation_notice(int consultation_date)
{
    return {"Leaching Consultation",
            "Midseason Leaching Consultaion for Irrigation Schedule and Fertilizer Applied up to "
            "date of most recent Midseason Fertilizer consultion.",
            "Date of Midseason Fertilizer Consultation:",
            format_date(consultation_date, "%m/%d/%y"), "OK"};
}

} // namespace tw
