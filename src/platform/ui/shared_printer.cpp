#include "platform/ui/shared_printer.h"

#include <QPrinter>

namespace tw {

QPrinter &shared_printer()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace tw
