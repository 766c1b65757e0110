// A minimal JSON reader for layout.json and manifest.json: objects, arrays, strings with every
// escape, numbers kept as written, true, false and null.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace terrova::library {

struct JsonMember;

struct JsonValue {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
  Type type = Type::kNull;
  std::string text;                 // a string's value, a number as written, "true" or "false"
  std::vector<JsonValue> items;     // an array's
  std::vector<JsonMember> members;  // an object's, in file order

  // The first member of that name; nullptr when there is none or this is no object.
  const JsonValue* member(std::string_view name) const;
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

struct JsonDocument {
  JsonValue root;     // what was read; on an error, the values up to it
  std::string error;  // "" when the document was read to its end
  size_t error_offset = 0;
};

// Arrays and objects nested deeper than this end the reading as damage.
constexpr size_t kJsonMaxDepth = 128;

JsonDocument parse_json(std::string_view text);

}  // namespace terrova::library
