// Moving the earlier release's databases forward from the command line.
#include "cli/cli.h"
#include "platform/work_dir.h"
#include "refdata/release_migration.h"

#include <ostream>

namespace tw::cli {
namespace {

void declare_migrate(CLI::App &command)
{
    add_argument(command, "DIR", "the folder of the databases (default: the working directory)",
                 Need::Optional);
    add_value(command, "--from-release", "1", "the release whose databases to convert",
              Need::Required);
}

int db_migrate(Context &ctx)
{
    const Options *options = &ctx.options;
    if (*options->value("from-release") != "1") {
        ctx.err << "Only the databases of release 1 can be migrated.\n";
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
    {"db", "migrate",
     "Converts the earlier release's crop.db and station.db (in DIR, default the working "
     "directory) to the current layouts, keeping the old files as crop.db.release1 and "
     "station.db.release1.",
     &declare_migrate, &db_migrate});

} // namespace
} // namespace tw::cli
