#include "field/remembered_location.h"

#include "field/field_doc.h"
#include "location/location_doc.h"
#include "platform/message_port.h"
#include "platform/work_dir.h"

#include <system_error>

namespace tw {
namespace {

/// How the messages name the open location: by its file, or by its name while it has none.
std::string describe_open(const CLocationDoc &open)
{
    const LocationIdentity identity = identity_of(open);
    return identity.known() ? describe(identity) : "\"" + open.name + "\"";
}

} // namespace

LocationIdentity identity_of(const CLocationDoc &location)
{
    if (location.path().empty())
        return {};
    const auto name = location.path().filename().u8string();
    return {std::string(name.begin(), name.end()), location.start_date};
}

std::string describe(const LocationIdentity &location)
{
    return "\"" + location.file_name + "\" (first day " +
           format_date(location.first_date.day(), "%m/%d/%y") + ")";
}

bool is_other_location(const LocationIdentity &remembered, const CLocationDoc &open)
{
    return remembered.known() && remembered != identity_of(open);
}

std::optional<std::filesystem::path> find_remembered_location(const LocationIdentity &remembered,
                                                              const CLocationDoc &open)
{
    // Only the name is kept: a stored text never leads the search out of these folders.
    const std::u8string utf8(remembered.file_name.begin(), remembered.file_name.end());
    const std::filesystem::path name = std::filesystem::path(utf8).filename();
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    for (const std::filesystem::path &folder : {open.path().parent_path(), work_dir()}) {
        std::error_code ec;
        const auto candidate = folder / name;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

CLocationDoc *ask_which_location(
    const CFieldDoc &field, CLocationDoc &open,
    const std::function<CLocationDoc *(const std::filesystem::path &)> &open_location)
{
    const LocationIdentity &remembered = field.saved.remembered_location;
    if (!is_other_location(remembered, open))
        return &open;
    const auto found = open_location ? find_remembered_location(remembered, open) : std::nullopt;
    std::vector<std::string> choices;
    if (found)
        choices.push_back("Open " + remembered.file_name);
    choices.push_back("Use the open location");
    choices.push_back("Cancel");
    std::string text = "This field was made with the location " + describe(remembered) +
                       ", but the open location is " + describe_open(open) + ".";
    if (!found)
        text += "\nThe file " + remembered.file_name + " was not found.";
    const std::size_t answer = messages().choose(text, choices, "Field Location");
    if (found && answer == 0)
        return open_location(*found);
    return answer + 1 == choices.size() ? nullptr : &open;
}

} // namespace tw
