// Writes the attributes of the later stored forms; see later_attributes.h for their order.
//   terrain flags byte: bits 0-1 flatten (0 DEFAULT, 1 NONE, 2 FLATTEN), bits 3-4 surface query
//                       (0 DEFAULT, 1 NONE, 2 ELEVATION_AND_TYPE); code 3 is written as a number
//   edge light fixture: 0 DEFAULT, 1 ELEVATED, 2 INSET
#include "airport/later_attributes.h"

#include <iterator>

#include "airport/apron.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr const char* kFlattenNames[] = {"DEFAULT", "NONE", "FLATTEN"};
constexpr const char* kSurfaceQueryNames[] = {"DEFAULT", "NONE", "ELEVATION_AND_TYPE"};
constexpr const char* kFixtureNames[] = {"DEFAULT", "ELEVATED", "INSET"};

uint32_t flatten_code(uint32_t terrain) { return terrain & 3; }
uint32_t surface_query_code(uint32_t terrain) { return (terrain >> 3) & 3; }

bool has_material_set(const LaterAttributes& a) {
  return a.material_set != nullptr && !guid_is_zero(*a.material_set, a.material_set_at);
}

}  // namespace

void MsfsAttributes::text(const char* name, std::string_view value) {
  if (count_ == std::size(items_)) return;
  Item& item = items_[count_++];
  item.name = name;
  item.length = static_cast<uint8_t>(value.copy(item.text, sizeof item.text));
}

void MsfsAttributes::flag(const char* name, bool value) { text(name, true_false(value)); }

void MsfsAttributes::number(const char* name, double value, int decimals) {
  if (count_ == std::size(items_)) return;
  Item& item = items_[count_++];
  item.name = name;
  item.kind = Item::Kind::kNumber;
  item.number = value;
  item.decimals = decimals;
}

void MsfsAttributes::integer(const char* name, int32_t value) {
  if (count_ == std::size(items_)) return;
  Item& item = items_[count_++];
  item.name = name;
  item.kind = Item::Kind::kInteger;
  item.integer = value;
}

void MsfsAttributes::write(Output& out, size_t i) const {
  const Item& item = items_[i];
  out.format("%s=\"", item.name);
  if (item.kind == Item::Kind::kNumber) {
    out.fixed(item.number, item.decimals);
  } else if (item.kind == Item::Kind::kInteger) {
    out.format("%d", item.integer);
  } else {
    out.write(std::string_view(item.text, item.length));
  }
  out.put('"');
}

bool has_later_attributes(const LaterAttributes& a) {
  bool tee = false;
  for (float t : a.tee_offsets) tee = tee || t != 0;
  return a.msfs.count() != 0 || (a.has_fixtures && (a.left_fixture != 0 || a.right_fixture != 0)) ||
         has_material_set(a) || (a.has_alt && a.alt_mm != 0) || tee ||
         flatten_code(a.terrain) != 0 || surface_query_code(a.terrain) != 0;
}

void write_later_attributes(DecodeContext& ctx, const char* indent, const LaterAttributes& a,
                            bool continue_line) {
  Output& out = ctx.out;
  // Each attribute is framed by `before` and `after`: the line break goes first or last.
  const char* before = continue_line ? "\n" : "";
  const char* after = continue_line ? "" : "\n";
  if (a.has_fixtures && a.left_fixture != 0) {
    out.format("%s%sleftEdgeLightFixture=\"%s\"%s", before, indent,
               EnumText(kFixtureNames, a.left_fixture), after);
  }
  if (a.has_fixtures && a.right_fixture != 0) {
    out.format("%s%srightEdgeLightFixture=\"%s\"%s", before, indent,
               EnumText(kFixtureNames, a.right_fixture), after);
  }
  if (has_material_set(a)) {
    out.format("%s%smaterialSet=\"", before, indent);
    write_registry_guid(out, *a.material_set, a.material_set_at);
    out.put('"');
    out.write(after);
  }
  if (a.has_alt && a.alt_mm != 0) {
    out.format("%s%salt=%s%s", before, indent, format_altitude(ctx.options, a.alt_mm), after);
  }
  for (uint32_t i = 0; i < 4; ++i) {
    if (a.tee_offsets[i] == 0) continue;
    out.format("%s%steeOffset%d=\"%0.2lf\"%s", before, indent, i + 1,
               static_cast<double>(a.tee_offsets[i]), after);
  }
  if (flatten_code(a.terrain) != 0) {
    out.format("%s%sflatten=\"%s\"%s", before, indent,
               EnumText(kFlattenNames, flatten_code(a.terrain)), after);
  }
  if (surface_query_code(a.terrain) != 0) {
    out.format("%s%ssurfaceQuery=\"%s\"%s", before, indent,
               EnumText(kSurfaceQueryNames, surface_query_code(a.terrain)), after);
  }
  for (size_t i = 0; i < a.msfs.count(); ++i) {
    out.format("%s%s", before, indent);
    a.msfs.write(out, i);
    out.write(after);
  }
}

}  // namespace terrova
