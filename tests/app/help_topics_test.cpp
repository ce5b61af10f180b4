#include "app/help_topics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace tw {
namespace {

const std::filesystem::path kGuide = std::filesystem::path(TILLWISE_SOURCE_DIR) / "docs/guide";

std::string page_text(const std::filesystem::path &file)
{
    std::ifstream in(kGuide / file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> anchors_of(const std::string &file)
{
    std::set<std::string> anchors;
    for (const GuideHeading &heading : guide_headings(page_text(file)))
        anchors.insert(heading.anchor);
    return anchors;
}

TEST(HelpTopics, HeadingAnchorsAreThoseMarkdownHostsMake)
{
    // The anchors a Markdown host derives for headings, so that the guide's links work both on
    // the host and in the help window.
    const std::pair<const char *, const char *> cases[] = {
        {"Reading the field window", "reading-the-field-window"},
        {"Field, crop and soil details", "field-crop-and-soil-details"},
        {"ETr (reference ET)", "etr-reference-et"},
        {"Start-by", "start-by"},
        {"TAW_2 and `code`", "taw_2-and-code"},
    };
    for (const auto &[heading, anchor] : cases)
        EXPECT_EQ(heading_anchor(heading), anchor) << heading;
}

TEST(HelpTopics, HeadingsAreReadOutsideCodeBlocksOnly)
{
    const auto headings = guide_headings("# Guide\n"
                                         "text\n"
                                         "## Reading the chart ##\n"
                                         "#not a heading\n"
                                         "####### seven is too many\n"
                                         "```sh\n"
                                         "# a shell comment\n"
                                         "```\n"
                                         "### Last\r\n");
    ASSERT_EQ(headings.size(), 3u);
    EXPECT_EQ(headings[0].level, 1);
    EXPECT_EQ(headings[1].text, "Reading the chart");
    EXPECT_EQ(headings[1].anchor, "reading-the-chart");
    EXPECT_EQ(headings[2].level, 3);
    EXPECT_EQ(headings[2].text, "Last");
}

TEST(HelpTopics, EveryWindowsSectionIsInTheGuide)
{
    for (const GuidePage &page : guide_pages())
        EXPECT_TRUE(std::filesystem::exists(kGuide / page.file)) << page.file;
    for (const HelpBinding &binding : help_bindings()) {
        const std::string file(binding.topic.file);
        ASSERT_TRUE(std::filesystem::exists(kGuide / file)) << binding.class_name;
        if (!binding.topic.anchor.empty()) {
            EXPECT_EQ(anchors_of(file).count(std::string(binding.topic.anchor)), 1u)
                << binding.class_name << " -> " << file << "#" << binding.topic.anchor;
        }
    }
    EXPECT_EQ(help_topic_of("tw::CFieldFrame")->file, "field-window.md");
    EXPECT_FALSE(help_topic_of("QMessageBox"));
}

TEST(HelpTopics, TheGuidesLinksAndPicturesLeadSomewhere)
{
    // Every page of the folder is in the contents; every link between pages names a page and a
    // heading that exist, and every picture is there.
    std::set<std::string> listed;
    for (const GuidePage &page : guide_pages())
        listed.insert(std::string(page.file));
    const std::regex link(R"(\]\(([^)#\s]*)(#([^)\s]*))?\))");
    for (const auto &entry : std::filesystem::directory_iterator(kGuide)) {
        if (entry.path().extension() != ".md")
            continue;
        const std::string file = entry.path().filename().string();
        EXPECT_EQ(listed.count(file), 1u) << file << " is not in the contents";
        const std::string text = page_text(file);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), link);
             it != std::sregex_iterator(); ++it) {
            const std::string target = (*it)[1].str();
            if (target.starts_with("http"))
                continue;
            const std::string page = target.empty() ? file : target;
            ASSERT_TRUE(std::filesystem::exists(kGuide / page)) << file << ": " << target;
            if ((*it)[3].matched) {
                EXPECT_EQ(anchors_of(page).count((*it)[3].str()), 1u)
                    << file << ": " << target << "#" << (*it)[3].str();
            }
        }
    }
}

} // namespace
} // namespace tw
