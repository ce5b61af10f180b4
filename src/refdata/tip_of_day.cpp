#include "refdata/tip_of_day.h"

#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_format.h"

#include <chrono>
#include <ctime>

namespace tw {
namespace {

constexpr std::string_view kSection = "Tip";
constexpr std::string_view kStartUp = "StartUp";
constexpr std::string_view kFilePos = "FilePos";
constexpr std::string_view kTimeStamp = "TimeStamp";
// The file is read a line at a time in pieces of at most this many characters.
constexpr std::size_t kMaxPiece = 999;
// A tips file is a page or two of text; anything beyond this is not read.
constexpr std::size_t kMaxTipsBytes = 4 * 1024 * 1024;

bool is_tip(std::string_view line)
{
    if (line.empty())
        return false;
    const char c = line.front();
    return c != ' ' && c != '\t' && c != '\n' && c != ';';
}

// One line (or one piece of a long line) from `position`, CR LF read as a line feed; `position`
// moves past the bytes taken.
std::string read_piece(const std::vector<std::uint8_t> &bytes, std::size_t &position)
{
    std::string line;
    while (position < bytes.size() && line.size() < kMaxPiece) {
        const char c = static_cast<char>(bytes[position++]);
        if (c == '\r' && position < bytes.size() && bytes[position] == '\n')
            continue;
        line.push_back(c);
        if (c == '\n')
            break;
    }
    return line;
}

} // namespace

std::optional<std::string> modified_time_text(const std::filesystem::path &path)
{
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(stamp);
    const std::time_t time = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    if (!localtime_r(&time, &local))
        return std::nullopt;
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y", &local);
    return trimmed(std::string_view(text, n));
}

TipOfDay::TipOfDay(SettingsStore &settings, std::filesystem::path tips_file)
    : settings_(settings)
    , tips_file_(std::move(tips_file))
{}

void TipOfDay::prepare()
{
    show_on_startup_ = settings_.read_int(kSection, kStartUp, 0) == 0;
    const int stored_position = settings_.read_int(kSection, kFilePos, 0);
    bytes_ = read_file(tips_file_, kMaxTipsBytes);
    if (!bytes_) {
        text_ = std::string(kGettingStartedText);
        return;
    }
    int start = stored_position;
    const std::string stamp = modified_time_text(tips_file_).value_or(std::string());
    if (settings_.read_string(kSection, kTimeStamp) != stamp) {
        start = 0;
        settings_.write_string(kSection, kTimeStamp, stamp);
    }
    if (start < 0) {
        // A position before the start of the file cannot be sought to.
        position_ = 0;
        messages().inform("Trouble reading the tips file");
        return;
    }
    position_ = static_cast<std::size_t>(start);
    find_next_tip();
}

void TipOfDay::next_tip()
{
    if (bytes_)
        find_next_tip();
}

void TipOfDay::find_next_tip()
{
    const std::vector<std::uint8_t> &bytes = *bytes_;
    bool wrapped = false;
    text_.clear();
    for (;;) {
        if (position_ >= bytes.size()) {
            // One pass over the whole file without a tip line: show nothing rather than go round
            // for ever.
            if (wrapped || bytes.empty())
                return;
            position_ = 0;
            wrapped = true;
        }
        std::string line = read_piece(bytes, position_);
        if (is_tip(line)) {
            text_ = std::move(line);
            return;
        }
    }
}

void TipOfDay::close(bool show_on_startup)
{
    show_on_startup_ = show_on_startup;
    settings_.write_int(kSection, kStartUp, show_on_startup ? 0 : 1);
}

void TipOfDay::finish()
{
    if (!bytes_)
        return;
    settings_.write_int(kSection, kFilePos, static_cast<int>(position_));
    bytes_.reset();
}

} // namespace tw
