#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The user's guide as the program finds its way in it: the pages in reading order, the section
// each window and dialog explains (what F1 opens), and the anchors of the pages' headings.
namespace tw {

/// A page of the guide (a Markdown file in the guide's folder) and its title.
struct GuidePage
{
    std::string_view file;
    std::string_view title;
};

/// The guide's pages in reading order; the first is its contents.
std::span<const GuidePage> guide_pages();

/// A place in the guide: a page and, unless empty, the anchor of a heading on it.
struct HelpTopic
{
    std::string_view file;
    std::string_view anchor;
};

/// The section that explains a window or dialog, by the class name Qt reports for it
/// ("tw::CFieldFrame"); nothing for a class without one.
std::optional<HelpTopic> help_topic_of(std::string_view class_name);

/// Every window and dialog with a section, for checking that the guide has them all.
struct HelpBinding
{
    std::string_view class_name;
    HelpTopic topic;
};
std::span<const HelpBinding> help_bindings();

/// The anchor of a heading as Markdown hosts make them: lower case, spaces as '-', punctuation
/// left out ("Reading the field window" -> "reading-the-field-window").
std::string heading_anchor(std::string_view heading);

/// A heading of a Markdown page: its level (1 for '#'), its text and its anchor.
struct GuideHeading
{
    int level = 0;
    std::string text;
    std::string anchor;
};

/// The headings of a Markdown page, outside its code blocks.
std::vector<GuideHeading> guide_headings(std::string_view markdown);

} // namespace tw
