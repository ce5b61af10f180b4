#pragma once

class QPrinter;

namespace tw {

/// The printer that Print Setup chooses and every Print and Print Preview uses.
QPrinter &shared_printer();

} // namespace tw
