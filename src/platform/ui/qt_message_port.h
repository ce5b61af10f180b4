#pragma once

#include "platform/message_port.h"

#include <QString>

class QWidget;

namespace tw {

/// Messages of core as Qt message boxes over the active window, captioned with the program's
/// display name when core gives no caption of its own.
class QtMessagePort : public MessagePort
{
public:
    void inform(std::string_view text, std::string_view caption, MessageIcon icon) override;
    bool ask_yes_no(std::string_view text, std::string_view caption) override;
    std::size_t choose(std::string_view text, const std::vector<std::string> &choices,
                       std::string_view caption) override;
    void beep() override;

    static QString caption_of(std::string_view caption);
};

} // namespace tw
