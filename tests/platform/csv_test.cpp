#include "platform/csv.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(Csv, SplitsRespectingQuotes)
{
    const struct
    {
        const char *line;
        std::vector<std::string> fields;
    } cases[] = {
        {"", {""}},
        {"a,b,,c", {"a", "b", "", "c"}},
        {" a , b ", {" a ", " b "}},
        {"\"x, y\",z", {"x, y", "z"}},
        {"\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        {"\"open, to the end", {"open, to the end"}},
        {"a,", {"a", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(split_csv_line(c.line), c.fields) << c.line;
}

TEST(Csv, LinesWithEitherBreak)
{
    EXPECT_EQ(text_lines("a\r\nb\n\nc"), (std::vector<std::string_view>{"a", "b", "", "c"}));
    EXPECT_EQ(text_lines("a\n"), (std::vector<std::string_view>{"a"}));
    EXPECT_TRUE(text_lines("").empty());
}

} // namespace
} // namespace tw
