#include "fertility/default_files.h"

#include "fertility/knowledge_files.h"
#include "fertility/mass_balance_table.h"
#include "fertility/source_library.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"

namespace tw {
namespace {

bool write_image(const char *name, const std::vector<std::uint8_t> &bytes)
{
    return write_file_atomic(work_file(name), bytes);
}

} // namespace

std::vector<DefaultFile> preference_and_knowledge_files()
{
    return {
        {"custom.con",
         [] {
             const CustomSettingsImage image = encode_custom_settings(CustomSettings{});
             return write_image("custom.con", {image.begin(), image.end()});
         }},
        {"METHOD_2.KB", [] { return kb_CreateNMethod2Table().has_value(); }},
        {"N_FERT.LIB", [] { return lib_CreateNSourceLib().has_value(); }},
        {"P_FERT.LIB", [] { return lib_CreatePSourceLib().has_value(); }},
        {"K_FERT.LIB", [] { return lib_CreateKSourceLib().has_value(); }},
        {"INPUT.KB", [] { return write_image("INPUT.KB", default_input_kb_image()); }},
        {"REC.KB", [] { return write_image("REC.KB", default_rec_kb_image()); }},
    };
}

std::vector<std::string> create_missing_files(const std::vector<DefaultFile> &files)
{
    RecordingMessagePort quiet;
    MessagePort *previous = set_messages(&quiet);
    std::vector<std::string> failed;
    for (const DefaultFile &file : files) {
        if (!file_exists(work_file(file.name)) && !file.create())
            failed.push_back(file.name);
    }
    set_messages(previous);
    return failed;
}

} // namespace tw
