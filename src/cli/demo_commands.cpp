// The demo: what ./run demo shows on the bundled data.
#include "cli/cli.h"

#include "platform/work_dir.h"
#include "refdata/custom_settings.h"

#include <ostream>

namespace tw::cli {
namespace {

int run_demo(Context &ctx)
{
    if (!save_custom_settings())
        return kExitFailure;
    ctx.out << "Created " << work_file("custom.con").string() << " with the default preferences.\n";
    return kExitOk;
}

const Registration demo_registration({"demo", "", "demo",
                                      "Runs the demonstration in the working directory.",
                                      &run_demo});

} // namespace
} // namespace tw::cli
