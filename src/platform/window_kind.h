#pragma once

namespace tw {

/// Which window a document type opens on its documents.
enum class WindowKind { Location, Field, FieldNitrogen };

} // namespace tw
