#include "platform/csv.h"
#include "platform/text_table.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using Fields = std::vector<std::string>;

TEST(Csv, SplitsFieldsAndHonoursQuotes)
{
    const struct
    {
        std::string_view line;
        Fields fields;
    } cases[] = {
        {"2022-06-01,41.5", {"2022-06-01", "41.5"}},
        {"a,,b,", {"a", "", "b", ""}},
        {"", {""}},
        {"x,y\r", {"x", "y"}},
        {"\"date\",\"value\"", {"date", "value"}},
        {"\"1,5\",2", {"1,5", "2"}},
        {"\"say \"\"hi\"\"\",z", {"say \"hi\"", "z"}},
        {" a , b", {" a ", " b"}},
        {"\"\"", {""}},
        {"in\"side", {"in\"side"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(split_csv_line(c.line), std::optional<Fields>(c.fields)) << c.line;
}

TEST(Csv, RefusesAnOpenQuoteOrTextAfterTheClosingOne)
{
    for (const std::string_view line : {"\"open,1", "\"ab\"c,1", "1,\"", "\"a\"\"\r"})
        EXPECT_EQ(split_csv_line(line), std::nullopt) << line;
}

TEST(Csv, NumbersAreFiniteAndWhole)
{
    EXPECT_EQ(parse_csv_number(" 41.5 "), 41.5);
    EXPECT_EQ(parse_csv_number("+2"), 2.0);
    EXPECT_EQ(parse_csv_number("-1e2"), -100.0);
    for (const std::string_view text : {"", " ", "4,5", "1.5mm", "nan", "inf", "1e999", "+", "--1"})
        EXPECT_EQ(parse_csv_number(text), std::nullopt) << text;
}

TEST(Csv, LinesWithEitherBreak)
{
    EXPECT_EQ(text_lines("a\r\nb\n\nc"), (std::vector<std::string_view>{"a", "b", "", "c"}));
    EXPECT_EQ(text_lines("a\n"), (std::vector<std::string_view>{"a"}));
    EXPECT_TRUE(text_lines("").empty());
}

// The windows pad their titles to align the columns; a file for other programs has none of it,
// while the cells stay as shown and a comma in a cell is still quoted.
TEST(Csv, ExportedTitlesAreBare)
{
    const TextTable table{{"     Date", "Growth Stage    ", "Rain(in)"},
                          {{"05/10/22", "Emergence, late", " 0.25"}}};
    EXPECT_EQ(export_csv_text(table),
              "Date,Growth Stage,Rain(in)\n05/10/22,\"Emergence, late\", 0.25\n");
    EXPECT_EQ(csv_text(table).substr(0, 10), "     Date,");
}

} // namespace
} // namespace tw
