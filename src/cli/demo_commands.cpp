// The demo: what ./run demo shows on the bundled data.
#include "cli/cli.h"
#include "cli/refdata_commands.h"

#include "platform/work_dir.h"
#include "refdata/custom_settings.h"

#include <ostream>

namespace tw::cli {
namespace {

int run_demo(Context &ctx)
{
    ctx.out << "Working directory: " << work_dir().string() << "\n";
    if (!save_custom_settings())
        return kExitFailure;
    ctx.out << "Created custom.con (" << kCustomSettingsSize
            << " bytes, the default preferences).\n";
    return create_missing_databases(ctx.out) ? kExitOk : kExitFailure;
}

const Registration demo_registration({"demo", "", "demo",
                                      "Runs the demonstration in the working directory.",
                                      &run_demo});

} // namespace
} // namespace tw::cli
