#include "support/test_env.h"

#include "platform/work_dir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace tw::test {

ScopedWorkDir::ScopedWorkDir()
    : previous_(work_dir())
{
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        dir_ = base / ("tillwise-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(dir_));
    set_work_dir(dir_);
}

ScopedWorkDir::~ScopedWorkDir()
{
    set_work_dir(previous_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

ScopedMessages::ScopedMessages()
    : previous_(set_messages(&port_))
{}

ScopedMessages::~ScopedMessages()
{
    set_messages(previous_);
}

ScopedSettings::ScopedSettings()
    : saved_(custom_settings())
{
    custom_settings() = CustomSettings{};
}

ScopedSettings::~ScopedSettings()
{
    custom_settings() = saved_;
}

ScopedEdition::ScopedEdition(const Edition &edition)
    : previous_(tw::edition())
{
    set_edition(edition);
}

ScopedEdition::~ScopedEdition()
{
    set_edition(previous_);
}

std::filesystem::path data_file(const std::string &name)
{
    return std::filesystem::path(TILLWISE_TEST_DATA_DIR) / name;
}

std::string read_text(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tw::test
