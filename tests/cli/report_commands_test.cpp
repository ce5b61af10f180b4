#include "field/irrigation_table.h"
#include "platform/files.h"
#include "platform/io_faults.h"
#include "platform/text_format.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

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

/// The folder's hidden files: a report's temporaries, had any been left.
std::vector<std::string> hidden_files(const std::filesystem::path &dir)
{
    std::vector<std::string> hidden;
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string().starts_with("."))
            hidden.push_back(entry.path().filename().string());
    }
    return hidden;
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
    EXPECT_TRUE(hidden_files(dir.path()).empty());
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

TEST_F(ReportCli, AReportOnAFailingDiskKeepsTheOldOneByteForByte)
{
    const std::string pdf = dir.file("field.pdf").string();
    const std::vector<std::string> report = {"field", "report", fld, "--location",
                                             loc,     "--pdf",  pdf};
    ASSERT_EQ(run(report).status, kExitOk);
    std::string old = test::read_text(pdf);
    int failed = 0;
    int with_reason = 0;
    for (int n = 1;; ++n) {
        io_faults::fail_nth(n);
        const CliRun r = run(report);
        const bool fired = io_faults::fired();
        io_faults::fail_nth(0);
        if (!fired)
            break;
        EXPECT_TRUE(hidden_files(dir.path()).empty()) << "operation " << n;
        // A read the command can do without (the preferences) leaves it to write a whole report.
        if (r.status == kExitOk) {
            old = test::read_text(pdf);
            EXPECT_TRUE(old.ends_with("%%EOF\n")) << "operation " << n;
            continue;
        }
        ++failed;
        EXPECT_FALSE(r.err.empty()) << "operation " << n;
        with_reason += r.err.find("Could not write the report: cannot write " + pdf +
                                  ": Input/output error") != std::string::npos;
        EXPECT_TRUE(test::read_text(pdf) == old) << "operation " << n;
    }
    EXPECT_GT(failed, 3) << "the read of the old report, the write, the fsync and the rename";
    EXPECT_GE(with_reason, 2) << "the write and the fsync fail with the system's reason";
}

TEST_F(ReportCli, AReportIsWrittenOnlyOverAPlainFile)
{
    const auto refused = [&](const std::filesystem::path &target, const char *why) {
        const CliRun r = run({"location", "report", loc, "--pdf", target.string()});
        EXPECT_EQ(r.status, kExitFailure) << target;
        EXPECT_THAT(r.err, ::testing::HasSubstr(why)) << target;
        EXPECT_TRUE(hidden_files(dir.path()).empty()) << target;
    };
    const auto fifo = dir.file("fifo.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    refused(fifo, "not a regular file");
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    const auto folder = dir.file("folder.pdf");
    std::filesystem::create_directory(folder);
    refused(folder, "not a regular file");
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // A link planted where a report once put its half-written file leads nowhere now.
    const auto victim = dir.file("victim");
    std::ofstream(victim) << "victim content";
    std::filesystem::create_symlink(victim, dir.file("rep.pdf.partial"));
    EXPECT_EQ(run({"location", "report", loc, "--pdf", dir.file("rep.pdf").string()}).status,
              kExitOk);
    EXPECT_EQ(test::read_text(victim), "victim content");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("rep.pdf.partial")));
    EXPECT_EQ(test::read_text(dir.file("rep.pdf")).substr(0, 5), "%PDF-");

    if (::geteuid() != 0) { // the owner of everything writes anything
        const auto read_only = dir.file("read-only.pdf");
        std::ofstream(read_only) << "kept";
        std::filesystem::permissions(read_only, std::filesystem::perms::owner_read);
        refused(read_only, "is read-only");
        EXPECT_EQ(test::read_text(read_only), "kept");
    }
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
