// The library-object names file: lines that pair an object's name with its GUID, such as
//   Hangar_A {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB} ; big hangar
// Library objects and model files are then known by name instead of by GUID text.
#pragma once

#include <string_view>

#include "bgl/tables.h"

namespace terrova {

// The table the names go into: sorted by key, a second name for a key is refused.
inline StringTable make_object_name_table() { return StringTable(true, 1); }

// Adds the names of the file text to `names`, keyed by the 32-digit GUID text of the records
// (the GUID's four little-endian words in lower-case hexadecimal). Lines end at CR or LF; ';'
// starts a comment; a data line is a name, '{', the GUID in its 8-4-4-4-12 form and '}'. The
// first line for a GUID wins. Lines without a name before '{' or whose GUID text is shorter than
// 36 characters are skipped.
void parse_object_names(std::string_view text, StringTable& names);

}  // namespace terrova
