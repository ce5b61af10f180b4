#include "app/active_location.h"

#include "field/field_doc.h"
#include "field/field_file.h"
#include "location/location_doc.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

std::vector<std::uint8_t> field_remembering(const std::string &file_name)
{
    SavedField field;
    field.planting_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    return encode_field_file(field, {}, {file_name, field.planting_date});
}

TEST(ActiveLocation, AFieldBindsOnlyToTheLocationOfTheActiveWindow)
{
    CLocationDoc location;
    CFieldDoc other;
    const std::string focus = "Please set focus on the fields Location window first";
    const struct
    {
        ActiveWindow active;
        CLocationDoc *location;
        std::string message;
    } cases[] = {
        {{false, nullptr}, nullptr, "Please Open a Location First"},
        {{true, nullptr}, nullptr, focus},
        {{true, &other}, nullptr, focus},
        {{true, &location}, &location, ""},
    };
    for (const auto &c : cases) {
        test::ScopedMessages messages;
        EXPECT_EQ(location_for_field(c.active), c.location);
        EXPECT_EQ(messages->texts(), c.message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message});
    }
}

TEST(ActiveLocation, WithNoWindowOpenAnOpenedFieldNamesItsLocation)
{
    test::ScopedMessages messages;
    EXPECT_EQ(location_for_field({false, nullptr}, field_remembering("full.loc")), nullptr);
    EXPECT_EQ(location_for_field({false, nullptr}, field_remembering("")), nullptr);
    const std::vector<std::uint8_t> cut(5, 0xff);
    EXPECT_EQ(location_for_field({false, nullptr}, cut), nullptr);
    EXPECT_EQ(messages->texts(), (std::vector<std::string>{
                                     "Please Open a Location First\nThis field remembers the "
                                     "location \"full.loc\" (first day 05/01/22).",
                                     "Please Open a Location First",
                                     "Please Open a Location First",
                                 }));
}

} // namespace
} // namespace tw
