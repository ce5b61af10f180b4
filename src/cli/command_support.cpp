#include "cli/command_support.h"

#include "location/location_file.h"
#include "platform/text_format.h"

#include <ostream>

namespace tw::cli {

void add_location_option(CLI::App &command)
{
    add_value(command, "--location", "L.loc",
              "the location whose weather the field is run with (required)");
}

void add_field_arguments(CLI::App &command)
{
    add_argument(command, "FILE.fld", "the field file");
    add_location_option(command);
}

std::unique_ptr<CLocationDoc> read_location(const std::filesystem::path &path, std::ostream &err)
{
    auto location = std::make_unique<CLocationDoc>();
    std::string detail;
    switch (load_location_file(path, *location, &detail)) {
    case LocationRead::Complete:
    case LocationRead::DaysCut: break;
    case LocationRead::Unreadable:
        err << "Cannot read the location file " << path.string()
            << (detail.empty() ? "" : ": " + detail) << ".\n";
        return nullptr;
    case LocationRead::Failed:
        err << "The location file " << path.string() << " is damaged"
            << (detail.empty() ? "" : " (" + detail + ")") << ".\n";
        return nullptr;
    }
    location->set_path(path);
    location->set_title(path.filename().string());
    return location;
}

std::unique_ptr<CLocationDoc> location_option(const Options &options, std::ostream &err)
{
    const auto path = options.value("location");
    if (!path) {
        err << "Option --location L.loc is required.\n";
        return nullptr;
    }
    return read_location(*path, err);
}

LocationSettler warn_of_other_location(std::ostream &err)
{
    // A script has no one to ask: it says so and goes on with the location it was given.
    return [&err](const CFieldDoc &field, CLocationDoc &open) {
        if (is_other_location(field.saved.remembered_location, open))
            err << "Warning: this field remembers the location "
                << describe(field.saved.remembered_location) << ", not "
                << describe(identity_of(open)) << "; going on with " << identity_of(open).file_name
                << ".\n";
        return &open;
    };
}

std::optional<OpenField> open_field_file(const Options &options, std::ostream &err)
{
    OpenField open{location_option(options, err), nullptr, options.positionals()[0]};
    if (!open.location)
        return std::nullopt;
    open.field = open_field(*open.location, open.path, warn_of_other_location(err));
    if (!open.field)
        return std::nullopt;
    return open;
}

bool save_field(CFieldDoc &field, const std::filesystem::path &path, std::ostream &out,
                std::ostream &err)
{
    const SaveOutcome outcome = save_field_file(field, path);
    if (!outcome.saved) {
        err << outcome.message << "\n";
        return false;
    }
    out << "Saved " << path.string() << "\n";
    return true;
}

std::string g9(double value)
{
    return strprintf("%.9g", value);
}

} // namespace tw::cli
