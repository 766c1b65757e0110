// A small well-formedness check for the documents the decoder writes: well-formed UTF-8 of
// characters that XML 1.0 allows, one root element, tags that nest, quoted attribute values
// without duplicates or "<", valid entity and character references (to allowed characters only),
// comments that do not contain "--" or end in "-", no "]]>" in text.
#pragma once

#include <string>
#include <string_view>

namespace terrova::testkit {

// Empty when the document is well-formed, otherwise what is wrong and where.
std::string xml_problem(std::string_view document);

}  // namespace terrova::testkit
