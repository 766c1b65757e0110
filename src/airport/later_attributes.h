// Attributes that the later stored forms of airport sub-records carry on top of the older fields
// (material sets, terrain flags, altitudes, tee offsets, edge light fixtures).
//
// Each is written on a line of its own, "<indent>name=\"value\"\n", only when it differs from its
// default (zero, an all-zero GUID, DEFAULT), in one fixed order that follows the element
// definitions: leftEdgeLightFixture, rightEdgeLightFixture, materialSet, alt, teeOffset1..4,
// flatten, surfaceQuery, then the attributes of the MSFS forms (`MsfsAttributes`), which are
// written always, as their defaults are not known. The element writers put these lines before the
// line that closes their start tag; an element of an older form has none of them, so its text does
// not change.
#pragma once

#include <cstdint>
#include <string_view>

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

// Attributes of the MSFS forms, in the order they are written: a name and its text (a flag, a
// name from a code table, a number as "%0.2lf" (or with the decimals given), or an integer).
class MsfsAttributes {
 public:
  void text(const char* name, std::string_view value);
  void flag(const char* name, bool value);
  void number(const char* name, double value, int decimals = 2);
  void integer(const char* name, int32_t value);
  // Writes attribute `i` as name="value".
  void write(Output& out, size_t i) const;
  size_t count() const { return count_; }

 private:
  struct Item {
    const char* name = nullptr;
    char text[24] = {};
    uint8_t length = 0;
    enum class Kind : uint8_t { kText, kNumber, kInteger } kind = Kind::kText;
    double number = 0;
    int decimals = 2;
    int32_t integer = 0;
  };
  Item items_[16];
  size_t count_ = 0;
};

struct LaterAttributes {
  bool has_fixtures = false;  // edge light fixtures known: 0 DEFAULT, 1 ELEVATED, 2 INSET
  uint32_t left_fixture = 0;
  uint32_t right_fixture = 0;
  const Record* material_set = nullptr;  // the GUID's 16 bytes at `material_set_at`
  uint64_t material_set_at = 0;
  bool has_alt = false;
  int32_t alt_mm = 0;
  float tee_offsets[4] = {0, 0, 0, 0};  // metres
  uint32_t terrain = 0;                 // bits 0-1 flatten, bits 3-4 surface query
  MsfsAttributes msfs;
};

// True when any of the attributes would be written.
bool has_later_attributes(const LaterAttributes& a);
// Writes the attributes that differ from their defaults, each as "<indent>name=\"value\"\n"; as
// "\n<indent>name=\"value\"" when `continue_line` (after an attribute line left open, for an
// element whose start tag is one line).
void write_later_attributes(DecodeContext& ctx, const char* indent, const LaterAttributes& a,
                            bool continue_line = false);

}  // namespace terrova
