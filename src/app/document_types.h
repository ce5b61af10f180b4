#pragma once

#include "platform/window_kind.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The seven newline-separated parts of a document type's string.
struct DocumentStrings
{
    std::string window_title;
    std::string doc_name;
    std::string file_new_name;
    std::string filter_name;
    std::string filter_ext;
    std::string reg_file_type_id;
    std::string reg_file_type_name;
};

/// Splits a document string; missing parts stay empty.
DocumentStrings parse_document_strings(std::string_view text);

constexpr int kLocationResource = 258;
constexpr int kFieldResource = 259;
constexpr std::string_view kLocationDocumentString =
    "\nLocati\nLocation\nLocation(weather) Files (*loc)\n.loc\nLocation.Document\nTillwise "
    "Location File";
constexpr std::string_view kFieldDocumentString =
    "\nField\nField\nField Files(*.fld)\n.fld\nField.Document\nTillwise Field File";
constexpr std::string_view kFieldDocName = "Field";

struct DocumentType
{
    int resource;
    DocumentStrings strings;
    WindowKind view;
    bool registered;
};

/// The document types in the order in which start-up creates them. Only the registered ones take
/// part in File > New and File > Open; the others are kept for extra windows of a document.
class DocumentTypes
{
public:
    /// The program's three types: locations, fields, and the field's nitrogen window.
    static DocumentTypes standard();

    void add(DocumentType type) { types_.push_back(std::move(type)); }
    const std::vector<DocumentType> &all() const { return types_; }
    std::vector<const DocumentType *> registered() const;

    /// The field type: the first registered type, or the second when the first is not named
    /// "Field"; nothing when neither is.
    const DocumentType *field_type() const;
    /// The first of the first two registered types that is not named "Field".
    const DocumentType *location_type() const;

    /// The names File > New offers, in registration order.
    std::vector<std::string> new_choices() const;
    /// The registered type whose extension a file name ends with (case-insensitive).
    const DocumentType *type_for_file(std::string_view file_name) const;

private:
    std::vector<DocumentType> types_;
};

} // namespace tw
