#include "platform/message_port.h"

#include <algorithm>
#include <iostream>

namespace tw {
namespace {

MessagePort &standard_error_port()
{
    static ConsoleMessagePort port(std::cerr);
    return port;
}

MessagePort *&current_port()
{
    static MessagePort *port = &standard_error_port();
    return port;
}

void write_line(std::ostream &out, std::string_view caption, std::string_view text)
{
    // Many fixed texts begin with their caption ("ERROR: ..."); the line says it once.
    const std::string_view bare = caption.substr(0, caption.find_last_not_of(' ') + 1);
    const bool repeated =
        !bare.empty() && text.starts_with(bare) && text.substr(bare.size()).starts_with(":");
    if (!caption.empty() && !repeated)
        out << caption << ": ";
    out << text << '\n';
}

} // namespace

void ConsoleMessagePort::inform(std::string_view text, std::string_view caption, MessageIcon)
{
    write_line(out_, caption, text);
}

bool ConsoleMessagePort::ask_yes_no(std::string_view text, std::string_view caption)
{
    write_line(out_, caption, text);
    out_ << (answer_yes_ ? "  -> Yes\n" : "  -> No\n");
    return answer_yes_;
}

std::size_t ConsoleMessagePort::choose(std::string_view text,
                                       const std::vector<std::string> &choices,
                                       std::string_view caption)
{
    write_line(out_, caption, text);
    const std::size_t answer = answer_yes_ || choices.empty() ? 0 : choices.size() - 1;
    if (answer < choices.size())
        out_ << "  -> " << choices[answer] << '\n';
    return answer;
}

void ConsoleMessagePort::beep()
{
    out_ << '\a';
    out_.flush();
}

void RecordingMessagePort::inform(std::string_view text, std::string_view caption, MessageIcon icon)
{
    entries_.push_back({Kind::Inform, std::string(text), std::string(caption), icon});
}

bool RecordingMessagePort::ask_yes_no(std::string_view text, std::string_view caption)
{
    entries_.push_back({Kind::Ask, std::string(text), std::string(caption), MessageIcon::Question});
    if (answers_.empty())
        return default_answer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::size_t RecordingMessagePort::choose(std::string_view text,
                                         const std::vector<std::string> &choices,
                                         std::string_view caption)
{
    std::string shown(text);
    for (const std::string &choice : choices)
        shown += "\n[" + choice + "]";
    entries_.push_back({Kind::Ask, shown, std::string(caption), MessageIcon::Question});
    std::size_t answer = 0;
    if (!choices_.empty()) {
        answer = choices_.front();
        choices_.pop_front();
    }
    return choices.empty() ? 0 : std::min(answer, choices.size() - 1);
}

void RecordingMessagePort::beep()
{
    entries_.push_back({Kind::Beep, {}, {}, MessageIcon::Warning});
}

std::vector<std::string> RecordingMessagePort::texts() const
{
    std::vector<std::string> out;
    for (const Entry &e : entries_) {
        if (e.kind != Kind::Beep)
            out.push_back(e.text);
    }
    return out;
}

int RecordingMessagePort::beeps() const
{
    int n = 0;
    for (const Entry &e : entries_)
        n += e.kind == Kind::Beep;
    return n;
}

MessagePort &messages()
{
    return *current_port();
}

MessagePort *set_messages(MessagePort *port)
{
    MessagePort *previous = current_port();
    current_port() = port ? port : &standard_error_port();
    return previous;
}

} // namespace tw
