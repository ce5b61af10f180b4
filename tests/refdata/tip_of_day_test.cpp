#include "refdata/tip_of_day.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace tw {
namespace {

class TipOfDayTest : public ::testing::Test
{
protected:
    void write_tips(const std::string &text) { std::ofstream(tips(), std::ios::binary) << text; }
    std::filesystem::path tips() const { return dir.file("tips.txt"); }

    // One start of the program with the splash on: prepare, maybe show, finish.
    std::string start()
    {
        TipOfDay tip(store, tips());
        tip.prepare();
        std::string shown = tip.text();
        tip.finish();
        return shown;
    }

    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    MemorySettingsStore store;
};

TEST_F(TipOfDayTest, CyclesOverTipLinesSkippingCommentsBlanksAndIndentedLines)
{
    write_tips("; comment\n\nTip A\n  indented\n\tTabbed\nTip B\n");
    EXPECT_EQ(start(), "Tip A\n");
    EXPECT_EQ(start(), "Tip B\n");
    EXPECT_EQ(start(), "Tip A\n");
    EXPECT_TRUE(messages->entries().empty());
}

TEST_F(TipOfDayTest, WindowsLineEndsAreReadAsLineFeeds)
{
    write_tips("\r\nFirst\r\nSecond\r\n");
    EXPECT_EQ(start(), "First\n");
    EXPECT_EQ(start(), "Second\n");
    EXPECT_EQ(start(), "First\n");
}

TEST_F(TipOfDayTest, ReplacedFileStartsAgainAtItsFirstTip)
{
    write_tips("One\nTwo\nThree\n");
    EXPECT_EQ(start(), "One\n");
    EXPECT_EQ(start(), "Two\n");
    write_tips("New one\nNew two\n");
    // Give the replacement a modification time the stored stamp cannot hold.
    std::filesystem::last_write_time(tips(), std::filesystem::last_write_time(tips()) +
                                                 std::chrono::hours(48));
    EXPECT_EQ(start(), "New one\n");
    EXPECT_EQ(store.read_string("Tip", "TimeStamp"), modified_time_text(tips()));
}

TEST_F(TipOfDayTest, FileWithoutTipsGivesUpWithAnEmptyTip)
{
    write_tips("; only comments\n\n   indented\n");
    EXPECT_EQ(start(), "");
    EXPECT_EQ(start(), "");
}

TEST_F(TipOfDayTest, MissingFileShowsGettingStartedTextAndStoresNothing)
{
    TipOfDay tip(store, tips());
    tip.prepare();
    EXPECT_EQ(tip.text(), kGettingStartedText);
    EXPECT_FALSE(tip.can_show_next());
    tip.finish();
    EXPECT_EQ(store.read_int("Tip", "FilePos", -7), -7);
    EXPECT_FALSE(store.read_string("Tip", "TimeStamp"));
    EXPECT_TRUE(messages->entries().empty());
}

TEST_F(TipOfDayTest, PositionBeforeTheFileReportsTroubleAndRestartsAtTheTop)
{
    write_tips("Tip A\nTip B\n");
    start();
    store.write_int("Tip", "FilePos", -5);
    EXPECT_EQ(start(), "");
    EXPECT_EQ(messages->texts(), std::vector<std::string>{"Trouble reading the tips file"});
    EXPECT_EQ(start(), "Tip A\n");
}

TEST_F(TipOfDayTest, ClosingStoresTheStartUpBoxAndUntickedStartsStillAdvance)
{
    write_tips("Tip A\nTip B\n");
    {
        TipOfDay tip(store, tips());
        tip.prepare();
        EXPECT_TRUE(tip.show_on_startup());
        tip.close(false);
        tip.finish();
    }
    EXPECT_EQ(store.read_int("Tip", "StartUp", 0), 1);
    TipOfDay next(store, tips());
    next.prepare();
    EXPECT_FALSE(next.show_on_startup());
    EXPECT_EQ(next.text(), "Tip B\n");
    next.next_tip();
    EXPECT_EQ(next.text(), "Tip A\n");
    next.close(true);
    EXPECT_EQ(store.read_int("Tip", "StartUp", 1), 0);
}

TEST_F(TipOfDayTest, LongLinesAreReadInPieces)
{
    const std::string long_line(1500, 'x');
    write_tips(long_line + "\n");
    EXPECT_EQ(start(), std::string(999, 'x'));
    EXPECT_EQ(start(), std::string(501, 'x') + "\n");
}

} // namespace
} // namespace tw
