// A minimal reader of XML elements for add-on.xml and Content.xml: elements, attributes, their
// text with the predefined and numeric character references, comments, CDATA, processing
// instructions and a document type declaration passed over. No namespaces, no validation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace terrova::library {

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // the character data directly inside the element, all pieces joined
  std::vector<XmlElement> children;
  bool complete = false;  // its end tag was read (false for the ones that damage cut short)

  // The first child of that name ignoring case; nullptr when there is none.
  const XmlElement* child(std::string_view child_name) const;
  // The text of that child without surrounding white space; "" when there is none.
  std::string child_text(std::string_view child_name) const;
  const std::string* attribute(std::string_view attribute_name) const;
};

struct XmlDocument {
  XmlElement root;    // what was read; on an error, the elements up to it
  std::string error;  // "" when the document was read to its end
  size_t error_offset = 0;
};

// Elements nested deeper than this end the reading as damage.
constexpr size_t kXmlMaxDepth = 256;

XmlDocument parse_xml(std::string_view text);

std::string trim_white(std::string_view text);

}  // namespace terrova::library
