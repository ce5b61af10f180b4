#include "field/irrigation_table.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace tw::cli {
namespace {

using test::CliRun;

/// The demo season in a scratch working directory: its location and corn field.
struct ReportCli : test::DemoFolderCli
{
    void SetUp() override
    {
        const auto data = std::filesystem::path(TILLWISE_SOURCE_DIR) / "data" / "demo";
        ASSERT_EQ(run({"demo", "--data", data.string()}).status, kExitOk);
    }
};

#ifdef TILLWISE_WITH_GUI

/// The text of each page of a PDF, as pdftotext reads it.
std::vector<std::string> pdf_pages(const std::filesystem::path &pdf)
{
    const std::filesystem::path text = pdf.string() + ".txt";
    const std::string command = "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    const auto bytes = read_file(text);
    std::vector<std::string> pages;
    std::string page;
    // The face draws "ff", "fi" and "fl" as ligatures, which the text comes back as.
    const auto plain = [](std::string text) {
        for (const auto &[ligature, letters] :
             {std::pair{"\uFB00", "ff"}, std::pair{"\uFB01", "fi"}, std::pair{"\uFB02", "fl"}}) {
            for (auto at = text.find(ligature); at != std::string::npos; at = text.find(ligature))
                text.replace(at, std::string(ligature).size(), letters);
        }
        return text;
    };
    for (const std::uint8_t c : bytes.value_or(std::vector<std::uint8_t>{})) {
        if (c == '\f') {
            pages.push_back(plain(page));
            page.clear();
        } else {
            page += static_cast<char>(c);
        }
    }
    return pages;
}

template<typename Titles>
void expect_titles_on(const std::string &page, const Titles &titles, int number)
{
    for (const std::string &title : titles)
        EXPECT_THAT(page, ::testing::HasSubstr(trimmed(title))) << "page " << number;
}

TEST_F(ReportCli, FieldReportHasEveryIrrigationColumnOnEachPageAndTheChart)
{
    const std::string pdf = dir.file("field.pdf").string();
    const CliRun report = run({"field", "report", fld, "--location", loc, "--pdf", pdf});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    const auto pages = pdf_pages(pdf);
    ASSERT_GE(pages.size(), 3u) << "table pages and the chart page";
    for (std::size_t p = 0; p + 1 < pages.size(); ++p) {
        expect_titles_on(pages[p], irrigation_table_titles(), int(p) + 1);
        EXPECT_THAT(pages[p], ::testing::HasSubstr(strprintf("Page: %zu", p + 1)));
    }
    EXPECT_THAT(pages.back(), ::testing::HasSubstr("Water balance of LIRF corn"));
    EXPECT_THAT(pages.back(), ::testing::HasSubstr("Critical deficit"));
    EXPECT_FALSE(file_exists(pdf + ".partial"));
}

TEST_F(ReportCli, LocationReportHasEveryWeatherColumnOnEachPage)
{
    const std::string pdf = dir.file("weather.pdf").string();
    const CliRun report = run({"location", "report", loc, "--pdf", pdf});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    const auto pages = pdf_pages(pdf);
    ASSERT_GE(pages.size(), 2u);
    // The columns the location's equation shows, as the command line prints them.
    const std::string shown = test::lines(run({"location", "show", loc, "--csv"}).out).at(0);
    std::vector<std::string> titles;
    for (std::size_t from = 0, comma = 0; comma != std::string::npos; from = comma + 1) {
        comma = shown.find(',', from);
        titles.push_back(shown.substr(from, comma - from));
    }
    ASSERT_GE(titles.size(), 3u);
    for (std::size_t p = 0; p < pages.size(); ++p)
        expect_titles_on(pages[p], titles, int(p) + 1);
}

TEST_F(ReportCli, ReportIntoAMissingFolderFailsAndSaysSo)
{
    const std::string pdf = dir.file("no/such/folder/field.pdf").string();
    const CliRun report = run({"field", "report", fld, "--location", loc, "--pdf", pdf});
    EXPECT_EQ(report.status, kExitFailure);
    EXPECT_THAT(report.err, ::testing::HasSubstr("Could not write"));
    EXPECT_FALSE(file_exists(pdf));
}

TEST_F(ReportCli, ReportNeedsItsPdfOption)
{
    EXPECT_EQ(run({"location", "report", loc}).status, kExitUsage);
    EXPECT_EQ(run({"field", "report", fld, "--location", loc}).status, kExitUsage);
}

#else

TEST_F(ReportCli, WithoutTheGuiTheReportSaysItNeedsIt)
{
    const CliRun report = run({"location", "report", loc, "--pdf", dir.file("w.pdf").string()});
    EXPECT_EQ(report.status, kExitFailure);
    EXPECT_THAT(report.err, ::testing::HasSubstr("need the desktop build"));
}

#endif

} // namespace
} // namespace tw::cli
