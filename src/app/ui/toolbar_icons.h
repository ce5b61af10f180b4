#pragma once

#include <QIcon>

namespace tw {

/// The tool bar's pictures, drawn in code: a blank page (New), an open folder (Open), a diskette
/// (Save), a printer (Print), slider knobs (Customize) and a question mark (About). Each has its
/// own outline and colour so that the buttons can be told apart at a glance.
QIcon toolbar_icon(int command);

} // namespace tw
