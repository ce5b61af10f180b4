#include "app/document_types.h"

#include "platform/text_format.h"

namespace tw {

DocumentStrings parse_document_strings(std::string_view text)
{
    DocumentStrings s;
    std::string *const parts[] = {&s.window_title,      &s.doc_name,   &s.file_new_name,
                                  &s.filter_name,       &s.filter_ext, &s.reg_file_type_id,
                                  &s.reg_file_type_name};
    std::size_t part = 0;
    for (const char c : text) {
        if (c != '\n')
            parts[part]->push_back(c);
        else if (++part == std::size(parts))
            break;
    }
    return s;
}

DocumentTypes DocumentTypes::standard()
{
    DocumentTypes types;
    types.add({kLocationResource, parse_document_strings(kLocationDocumentString),
               WindowKind::Location, true});
    types.add(
        {kFieldResource, parse_document_strings(kFieldDocumentString), WindowKind::Field, true});
    types.add({kFieldResource, parse_document_strings(kFieldDocumentString),
               WindowKind::FieldNitrogen, false});
    return types;
}

std::vector<const DocumentType *> DocumentTypes::registered() const
{
    std::vector<const DocumentType *> out;
    for (const DocumentType &type : types_) {
        if (type.registered)
            out.push_back(&type);
    }
    return out;
}

const DocumentType *DocumentTypes::field_type() const
{
    const auto types = registered();
    for (std::size_t i = 0; i < types.size() && i < 2; ++i) {
        if (types[i]->strings.doc_name == kFieldDocName)
            return types[i];
    }
    return nullptr;
}

const DocumentType *DocumentTypes::location_type() const
{
    const auto types = registered();
    for (std::size_t i = 0; i < types.size() && i < 2; ++i) {
        if (types[i]->strings.doc_name != kFieldDocName)
            return types[i];
    }
    return nullptr;
}

std::vector<std::string> DocumentTypes::new_choices() const
{
    std::vector<std::string> names;
    for (const DocumentType *type : registered())
        names.push_back(type->strings.file_new_name);
    return names;
}

const DocumentType *DocumentTypes::type_for_file(std::string_view file_name) const
{
    const std::string name = to_upper_ascii(file_name);
    for (const DocumentType *type : registered()) {
        const std::string ext = to_upper_ascii(type->strings.filter_ext);
        if (!ext.empty() && name.size() >= ext.size() &&
            name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
            return type;
    }
    return nullptr;
}

} // namespace tw
