#include "platform/document.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct CountingView : DocumentView
{
    std::vector<ViewHint> hints;
    int state_changes = 0;
    Document *close_on_update = nullptr;
    void on_update(ViewHint hint) override
    {
        hints.push_back(hint);
        if (close_on_update)
            close_on_update->remove_view(this);
    }
    void on_state_changed() override { ++state_changes; }
};

TEST(Document, ViewsHearHintsExceptTheOneThatChangedIt)
{
    Document doc;
    CountingView a, b;
    doc.add_view(&a);
    doc.add_view(&b);
    doc.add_view(&a);
    doc.update_all_views(ViewHint::everything());
    doc.update_all_views(ViewHint::changed_day(7), &a);
    EXPECT_EQ(a.hints, (std::vector<ViewHint>{ViewHint::everything()}));
    EXPECT_EQ(b.hints, (std::vector<ViewHint>{ViewHint::everything(), ViewHint::changed_day(7)}));
}

TEST(Document, AViewMayLeaveWhileItIsTold)
{
    Document doc;
    CountingView a, b;
    a.close_on_update = &doc;
    doc.add_view(&a);
    doc.add_view(&b);
    doc.update_all_views(ViewHint::changed_day(3));
    doc.update_all_views(ViewHint::changed_day(4));
    EXPECT_EQ(a.hints, (std::vector<ViewHint>{ViewHint::changed_day(3)}));
    EXPECT_EQ(b.hints, (std::vector<ViewHint>{ViewHint::changed_day(3), ViewHint::changed_day(4)}));
}

TEST(Document, StateChangesAreReportedOnce)
{
    Document doc;
    CountingView v;
    doc.add_view(&v);
    doc.set_modified(true);
    doc.set_modified(true);
    doc.set_title("Loc2026");
    EXPECT_EQ(v.state_changes, 2);
    EXPECT_TRUE(doc.is_modified());
    EXPECT_EQ(doc.title(), "Loc2026");
}

} // namespace
} // namespace tw
