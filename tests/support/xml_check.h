// A small well-formedness check for the documents the decoder writes: one root element, tags that
// nest, quoted attribute values without duplicates, valid entity references, comments that do
// not contain "--".
#pragma once

#include <string>
#include <string_view>

namespace terrova::testkit {

// Empty when the document is well-formed, otherwise what is wrong and where.
std::string xml_problem(std::string_view document);

}  // namespace terrova::testkit
