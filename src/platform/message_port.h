#pragma once

#include <cstddef>
#include <deque>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

enum class MessageIcon { Information, Warning, Error, Question };

/// Every message box of the program goes through this port: core states the text, the port
/// decides how it reaches the user (a Qt box, a console line, or a record for a test).
class MessagePort
{
public:
    virtual ~MessagePort() = default;
    /// A box with one OK button.
    virtual void inform(std::string_view text, std::string_view caption = {},
                        MessageIcon icon = MessageIcon::Information) = 0;
    /// A box with Yes and No; true for Yes.
    virtual bool ask_yes_no(std::string_view text, std::string_view caption = {}) = 0;
    /// A box with one button for each choice (at least one); the index of the one pressed.
    virtual std::size_t choose(std::string_view text, const std::vector<std::string> &choices,
                               std::string_view caption = {}) = 0;
    /// The warning beep.
    virtual void beep() = 0;
};

/// Writes every message as a line ("caption: text") to a stream; questions are answered by the
/// policy the caller sets, and the answer is written after the question.
class ConsoleMessagePort : public MessagePort
{
public:
    explicit ConsoleMessagePort(std::ostream &out, bool answer_yes = true)
        : out_(out)
        , answer_yes_(answer_yes)
    {}
    void set_answer(bool yes) { answer_yes_ = yes; }

    void inform(std::string_view text, std::string_view caption, MessageIcon icon) override;
    bool ask_yes_no(std::string_view text, std::string_view caption) override;
    /// Yes takes the first choice, No the last (the one that leaves things as they are).
    std::size_t choose(std::string_view text, const std::vector<std::string> &choices,
                       std::string_view caption) override;
    void beep() override;

private:
    std::ostream &out_;
    bool answer_yes_;
};

/// Keeps every message for a test to inspect; questions take the queued answers, then the
/// default answer.
class RecordingMessagePort : public MessagePort
{
public:
    enum class Kind { Inform, Ask, Beep };
    struct Entry
    {
        Kind kind;
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    void inform(std::string_view text, std::string_view caption, MessageIcon icon) override;
    bool ask_yes_no(std::string_view text, std::string_view caption) override;
    /// The queued choice (kept within the choices), else the first; the choices are recorded as
    /// lines after the text.
    std::size_t choose(std::string_view text, const std::vector<std::string> &choices,
                       std::string_view caption) override;
    void beep() override;

    void queue_answer(bool yes) { answers_.push_back(yes); }
    void queue_choice(std::size_t index) { choices_.push_back(index); }
    void set_default_answer(bool yes) { default_answer_ = yes; }
    const std::vector<Entry> &entries() const { return entries_; }
    /// The texts of the informs and questions, in order (beeps left out).
    std::vector<std::string> texts() const;
    int beeps() const;
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
    std::deque<bool> answers_;
    std::deque<std::size_t> choices_;
    bool default_answer_ = true;
};

/// The process-wide port. Until a program installs its own, messages go to standard error.
MessagePort &messages();
/// Installs a port (nullptr restores the standard-error port); returns the previous one.
MessagePort *set_messages(MessagePort *port);

} // namespace tw
