#include "app/help_topics.h"

#include <array>
#include <cctype>

namespace tw {
namespace {

constexpr std::array kPages = {
    GuidePage{"index.md", "Contents"},
    GuidePage{"getting-started.md", "Getting started"},
    GuidePage{"field-window.md", "Reading the field window"},
    GuidePage{"entering-data.md", "Entering irrigation, rain and probe readings"},
    GuidePage{"location-window.md", "The location window"},
    GuidePage{"weather-import.md", "Importing weather"},
    GuidePage{"fertilizer.md", "The fertilizer consultation"},
    GuidePage{"leaching.md", "The leaching report"},
    GuidePage{"command-line.md", "Many fields from the command line"},
    GuidePage{"settings.md", "Preferences and databases"},
    GuidePage{"glossary.md", "Glossary"},
};

// The windows first, then the dialogs each window opens. A class missing here (a message box, a
// file chooser) opens the page of the window under it.
constexpr std::array kBindings = {
    HelpBinding{"tw::CMainFrame", {"index.md", ""}},
    HelpBinding{"tw::CFieldFrame", {"field-window.md", ""}},
    HelpBinding{"tw::CLocationFrame", {"location-window.md", ""}},
    HelpBinding{"tw::NewDocumentDialog", {"getting-started.md", ""}},
    HelpBinding{"tw::CTipDlg", {"getting-started.md", ""}},
    HelpBinding{"tw::CLocationInfoSheet", {"getting-started.md", "create-a-location"}},
    HelpBinding{"tw::CFieldDetailsDlg", {"getting-started.md", "create-a-field"}},
    HelpBinding{"tw::CIrrigationLegendDlg", {"field-window.md", "the-legend"}},
    HelpBinding{"tw::CDailyIrrigationDlg", {"entering-data.md", "the-daily-entry"}},
    HelpBinding{"tw::CNitrogenApplicationDlg", {"entering-data.md", "the-daily-entry"}},
    HelpBinding{"tw::CSoilReadingsDlg", {"entering-data.md", "probe-readings"}},
    HelpBinding{"tw::CForecastSkillDlg", {"entering-data.md", "forecast-skill"}},
    HelpBinding{"tw::CCropSheet", {"entering-data.md", "field-crop-and-soil-details"}},
    HelpBinding{"tw::CSoilAttributesDlg", {"entering-data.md", "field-crop-and-soil-details"}},
    HelpBinding{"tw::CWeatherDayDlg", {"location-window.md", "typing-the-weather-of-a-day"}},
    HelpBinding{"tw::CCsvImportDlg", {"weather-import.md", "csv-files-from-a-station-network"}},
    HelpBinding{"tw::CWizardPageDlg", {"fertilizer.md", ""}},
    HelpBinding{"tw::CMethodCalcsDlg", {"fertilizer.md", "the-nitrogen-methods"}},
    HelpBinding{"tw::CNewBlendDlg", {"fertilizer.md", "materials-and-blends"}},
    HelpBinding{"tw::CScheduleDlg", {"fertilizer.md", "the-application-schedule"}},
    HelpBinding{"tw::CFertilizerApplicationDlg", {"fertilizer.md", "the-application-schedule"}},
    HelpBinding{"tw::CLeachingReportDlg", {"leaching.md", ""}},
    HelpBinding{"tw::CLeachingConsultationDlg", {"leaching.md", "midseason-leaching-consultation"}},
    HelpBinding{"tw::CCustomizeSheet", {"settings.md", "units-and-calculation-methods"}},
    HelpBinding{"tw::DatabaseDialog", {"settings.md", "soils-stations-and-crops"}},
    HelpBinding{"tw::CStationAttributesDlg", {"settings.md", "soils-stations-and-crops"}},
};

bool is_fence(std::string_view line)
{
    const std::size_t start = line.find_first_not_of(' ');
    return start != std::string_view::npos && start < 4 &&
           (line.substr(start).starts_with("```") || line.substr(start).starts_with("~~~"));
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

std::span<const GuidePage> guide_pages()
{
    return kPages;
}

std::optional<HelpTopic> help_topic_of(std::string_view class_name)
{
    for (const HelpBinding &binding : kBindings) {
        if (binding.class_name == class_name)
            return binding.topic;
    }
    return std::nullopt;
}

std::span<const HelpBinding> help_bindings()
{
    return kBindings;
}

std::string heading_anchor(std::string_view heading)
{
    std::string anchor;
    for (const char c : heading) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || byte >= 0x80)
            anchor += static_cast<char>(std::tolower(byte));
        else if (c == ' ')
            anchor += '-';
    }
    return anchor;
}

std::vector<GuideHeading> guide_headings(std::string_view markdown)
{
    std::vector<GuideHeading> headings;
    bool in_code = false;
    while (!markdown.empty()) {
        const std::size_t end = markdown.find('\n');
        const std::string_view line = markdown.substr(0, end);
        markdown = end == std::string_view::npos ? std::string_view() : markdown.substr(end + 1);
        if (is_fence(line)) {
            in_code = !in_code;
            continue;
        }
        const std::size_t level = line.find_first_not_of('#');
        if (in_code || level == 0 || level > 6 || level == std::string_view::npos ||
            line[level] != ' ')
            continue;
        // A closing run of '#' belongs to the markup, not the text.
        std::string_view text = trimmed(line.substr(level));
        const std::size_t closing = text.find_last_not_of('#');
        if (closing != std::string_view::npos && closing + 1 < text.size() && text[closing] == ' ')
            text = trimmed(text.substr(0, closing));
        headings.push_back({static_cast<int>(level), std::string(text), heading_anchor(text)});
    }
    return headings;
}

} // namespace tw
