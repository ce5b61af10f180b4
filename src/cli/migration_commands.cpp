// Moving the earlier release's databases forward from the command line.
#include "cli/cli.h"
#include "platform/work_dir.h"
#include "refdata/release_migration.h"

#include <ostream>

namespace tw::cli {
namespace {

constexpr std::string_view kUsage = "usage: tillwise-cli db migrate --from-release 1 [DIR]\n";

int db_migrate(Context &ctx)
{
    const OptionSpec specs[] = {{"from-release", true}};
    const auto options = Options::parse(ctx.args, specs, ctx.err);
    if (!options || options->positionals().size() > 1 || !options->has("from-release")) {
        ctx.err << kUsage;
        return kExitUsage;
    }
    if (*options->value("from-release") != "1") {
        ctx.err << "Only the databases of release 1 can be migrated.\n" << kUsage;
        return kExitUsage;
    }
    const std::filesystem::path dir = options->positionals().empty()
                                          ? work_dir()
                                          : std::filesystem::path(options->positionals()[0]);
    const MigrationResult result = migrate_release1_databases(dir.empty() ? "." : dir);
    for (const MigratedFile &f : result.migrated) {
        ctx.out << "Migrated " << f.name << ": " << f.records
                << (f.records == 1 ? " record, " : " records, ") << f.old_bytes << " bytes to "
                << f.new_bytes << " bytes; the old file is " << release1_backup_name(f.name)
                << ".\n";
    }
    for (const std::string &note : result.notes)
        ctx.out << note << "\n";
    if (!result.ok) {
        ctx.err << result.error << "\n";
        if (!result.changed)
            ctx.err << "Nothing was changed.\n";
        return kExitFailure;
    }
    return kExitOk;
}

const Registration db_migrate_registration(
    {"db", "migrate", "db migrate --from-release 1 [DIR]",
     "Converts the earlier release's crop.db and station.db (in DIR, default the working "
     "directory) to the current layouts, keeping the old files as crop.db.release1 and "
     "station.db.release1.",
     &db_migrate});

} // namespace
} // namespace tw::cli
