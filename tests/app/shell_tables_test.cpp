#include "app/commands.h"
#include "app/document_types.h"
#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <set>

namespace tw {
namespace {

TEST(DocumentTypes, StringsSplitIntoTheirSevenParts)
{
    const DocumentStrings loc = parse_document_strings(kLocationDocumentString);
    EXPECT_EQ(loc.window_title, "");
    EXPECT_EQ(loc.doc_name, "Locati");
    EXPECT_EQ(loc.file_new_name, "Location");
    EXPECT_EQ(loc.filter_name, "Location(weather) Files (*loc)");
    EXPECT_EQ(loc.filter_ext, ".loc");
    EXPECT_EQ(loc.reg_file_type_id, "Location.Document");
    EXPECT_EQ(loc.reg_file_type_name, "Tillwise Location File");
    const DocumentStrings fld = parse_document_strings(kFieldDocumentString);
    EXPECT_EQ(fld.doc_name, "Field");
    EXPECT_EQ(fld.filter_name, "Field Files(*.fld)");
    EXPECT_EQ(parse_document_strings("a\nb").filter_ext, "");
}

TEST(DocumentTypes, NewOffersLocationAndFieldAndFilesFindTheirType)
{
    const DocumentTypes types = DocumentTypes::standard();
    EXPECT_EQ(types.all().size(), 3u);
    EXPECT_EQ(types.new_choices(), (std::vector<std::string>{"Location", "Field"}));
    EXPECT_EQ(types.type_for_file("/x/Greeley2022.LOC")->resource, kLocationResource);
    EXPECT_EQ(types.type_for_file("corn.fld")->view, WindowKind::Field);
    EXPECT_EQ(types.type_for_file("notes.txt"), nullptr);
}

TEST(DocumentTypes, FieldTypeIsFoundByNameAmongTheFirstTwoRegistered)
{
    const DocumentTypes standard = DocumentTypes::standard();
    EXPECT_EQ(standard.field_type()->view, WindowKind::Field);
    EXPECT_EQ(standard.location_type()->view, WindowKind::Location);

    DocumentTypes field_first;
    field_first.add(standard.all()[1]);
    field_first.add(standard.all()[0]);
    EXPECT_EQ(field_first.field_type()->view, WindowKind::Field);
    EXPECT_EQ(field_first.location_type()->view, WindowKind::Location);

    DocumentTypes no_field;
    no_field.add(standard.all()[0]);
    EXPECT_EQ(no_field.field_type(), nullptr);
}

std::vector<std::string_view> texts_of(std::span<const MenuEntry> entries)
{
    std::vector<std::string_view> texts;
    for (const MenuEntry &e : entries)
        texts.push_back(e.text);
    return texts;
}

TEST(Commands, EveryMenuBarHasAHelpMenuAndEveryCommandAPrompt)
{
    for (const int bar : {kMainMenu, kLocationMenu, kFieldMenu}) {
        ASSERT_FALSE(menu_bar(bar).empty()) << bar;
        EXPECT_EQ(menu_bar(bar).back().text, kHelpMenuText) << bar;
        for (const MenuEntry &top : menu_bar(bar)) {
            if (top.command != kSeparator) {
                EXPECT_FALSE(entry_prompt(top).empty()) << top.text;
            }
            for (const MenuEntry &item : top.items) {
                if (item.command != kSeparator) {
                    EXPECT_FALSE(entry_prompt(item).empty()) << item.text;
                }
            }
        }
    }
    EXPECT_TRUE(menu_bar(300).empty());
}

TEST(Commands, LocationMenuCarriesTheDocumentCommands)
{
    const auto bar = menu_bar(kLocationMenu);
    EXPECT_EQ(texts_of(bar),
              (std::vector<std::string_view>{"&File", "&Edit", "&Import", "&Databases", "&View",
                                             "&Window", "&Help"}));
    EXPECT_EQ(texts_of(bar[2].items),
              (std::vector<std::string_view>{"JVU (new)", "JVU (old)", "USDA", "USDA (no RH)",
                                             "Kansas State", "CSV...", "Update Weather"}));
    const MenuEntry &info = bar[1].items[6];
    EXPECT_EQ(info.command, ID_GENERAL_INFO);
    EXPECT_EQ(entry_prompt(info), "Edit Location General Information");
}

TEST(RecentFiles, KeepsFiveNewestFirstAcrossRuns)
{
    MemorySettingsStore store;
    RecentFiles files;
    for (const char *name : {"a", "b", "c", "d", "e", "f", "c"})
        files.add(name);
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"c", "f", "e", "d", "b"}));
    files.save(store);
    files.remove("f");
    files.save(store);

    RecentFiles next;
    next.load(store);
    EXPECT_EQ(next.entries(), (std::vector<std::string>{"c", "e", "d", "b"}));
    EXPECT_EQ(store.read_string("Recent File List", "File1"), "c");
}

} // namespace
} // namespace tw
