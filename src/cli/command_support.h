#pragma once

#include "cli/cli.h"
#include "field/field_doc.h"
#include "location/location_doc.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the commands on a field share: their options, the location they read the weather from and
// the field file opened against it.
namespace tw::cli {

/// A table row or title line as print_table takes it.
template<std::size_t N>
std::vector<std::string> as_vector(const std::array<std::string, N> &cells)
{
    return {cells.begin(), cells.end()};
}

/// --location L.loc, the location whose weather the field is run with. A missing one is a
/// failure of the command (exit 1) rather than of its command line, as scripts have relied on.
void add_location_option(CLI::App &command);

/// FILE.fld and --location L.loc: what every command on one field takes.
void add_field_arguments(CLI::App &command);

/// The location a field command reads its weather from; nothing after telling err why.
std::unique_ptr<CLocationDoc> read_location(const std::filesystem::path &path, std::ostream &err);

/// The location of the required --location option; nothing after telling err why.
std::unique_ptr<CLocationDoc> location_option(const Options &options, std::ostream &err);

/// A field file and the location it is read against (the location outlives the field).
struct OpenField
{
    std::unique_ptr<CLocationDoc> location;
    std::unique_ptr<CFieldDoc> field;
    std::filesystem::path path;
};

/// Opening a field against a location it does not remember warns on `err` and goes on.
LocationSettler warn_of_other_location(std::ostream &err);
/// The field of the first positional argument, opened against --location and run.
std::optional<OpenField> open_field_file(const Options &options, std::ostream &err);

/// Saves the field and says so on `out`; false after the message on `err`.
bool save_field(CFieldDoc &field, const std::filesystem::path &path, std::ostream &out,
                std::ostream &err);

/// A number as the CSV exports write it ("%.9g", internal units).
std::string g9(double value);

} // namespace tw::cli
