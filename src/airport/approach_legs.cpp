// Leg lists of approaches (0x2D approach legs, 0x2E missed-approach legs, 0x2F transition legs):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  leg count
//   +8       legs of 44 bytes:
//              +0  u8  leg type, 1-23
//              +1  u8  altitude descriptor: 1 "A", 2 "+", 3 "-", 4 "B"
//              +2  u8  turn direction: 1 left, 2 right, any other either
//              +3  u8  bit 0 true course (else magnetic), bit 1 time (else distance), bit 2 fly
//                      over
//              +4  u32 fix identifier word, fix type in bits 0-3
//              +8  u32 fix region word
//              +12 u32 recommended navaid identifier word, its type in bits 0-3
//              +16 u32 recommended navaid region word
//              +20 f32 theta
//              +24 f32 rho
//              +28 f32 course
//              +32 f32 distance in metres, or time
//              +36 f32 altitude 1, metres
//              +40 f32 altitude 2, metres
#include <iterator>

#include "airport/approach.h"
#include "format/ident.h"

namespace terrova {
namespace {

constexpr uint32_t kLegsAt = 8;
constexpr uint32_t kLegSize = 44;

// Searched from the top.
constexpr LegAttributes leg_attribute_table[] = {
    {1,  0x77, 0xFE},
    {2,  0x34, 0x10},
    {3,  0x3C, 0xF0},
    {5,  0x7C, 0x11},
    {6,  0x75, 0xE1},
    {7,  0x73, 0xFF},
    {10, 0x7F, 0xFF},
    {11, 0x37, 0xFE},
    {12, 0x3F, 0xFE},
    {13, 0x3F, 0xFE},
    {14, 0x3F, 0xFE},
    {15, 0x73, 0xEE},
    {16, 0x3F, 0xFE},
    {17, 0x7D, 0xFF},
    {18, 0x7F, 0xFF},
    {19, 0x34, 0x10},
    {20, 0x7C, 0xF0},
    {21, 0x04, 0x00},
    {22, 0x04, 0x00},
    {23, 0x75, 0xF1},
};
constexpr LegAttributes kEveryAttribute = {0, 0x7F, 0xFF};

constexpr const char* kLegTypes[] = {nullptr, "AF", "CA", "CD", "CF", "CI", "CR", "DF",
                                     "FA",    "FC", "FD", "FM", "HA", "HF", "HM", "IF",
                                     "PI",    "RF", "TF", "VA", "VD", "VI", "VM", "VR"};
constexpr const char* kFixTypes[] = {
    "TERMINAL_WAYPOINT", "TERMINAL_WAYPOINT", "VOR", "NDB",       "TERMINAL_NDB",
    "WAYPOINT",          "TERMINAL_WAYPOINT", " ",   "LOCALIZER", "RUNWAY"};
constexpr char kAltitudeDescriptors[] = "A+-B";

const LegAttributes* find_leg_row(uint32_t leg_type) {
  for (const LegAttributes& row : leg_attribute_table) {
    if (row.leg_type == leg_type) return &row;
  }
  return nullptr;
}

void write_leg(DecodeContext& ctx, const Record& list, uint64_t at) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  const uint32_t type = list.u8(at);
  const uint32_t descriptor = list.u8(at + 1);
  const uint32_t turn = list.u8(at + 2);
  const uint32_t flags = list.u8(at + 3);
  const uint32_t fix = list.u32(at + 4);
  const uint32_t recommended = list.u32(at + 12);
  const LegAttributes row = leg_attributes(type);
  const uint32_t a = row.mask_a;
  const uint32_t b = row.mask_b;

  out.format("\t\t\t\t<Leg type=\"%s\"", leg_type_name(type));
  if (a & 0x20) out.format("\n\t\t\t\t\taltitude1=%s", format_length(o, list.f32(at + 36)));
  if (a & 0x40) out.format("\n\t\t\t\t\taltitude2=%s", format_length(o, list.f32(at + 40)));
  if ((a & 0x10) && descriptor >= 1 && descriptor <= 4) {
    out.format("\n\t\t\t\t\taltitudeDescriptor=\"%c\"", kAltitudeDescriptors[descriptor - 1]);
  }
  if (a & 0x01) out.format("\n\t\t\t\t\ttheta=\"%0.4lf\"", static_cast<double>(list.f32(at + 20)));
  if (a & 0x02) out.format("\n\t\t\t\t\trho=\"%0.4lf\"", static_cast<double>(list.f32(at + 24)));
  if (a & 0x04) {
    out.write("\n\t\t\t\t\t");
    out.write((flags & 1) ? "trueCourse" : "magneticCourse");
    out.format("=\"%0.2lf\"", static_cast<double>(list.f32(at + 28)));
  }
  if (a & 0x08) {
    out.write("\n\t\t\t\t\t");
    if (flags & 2) {
      out.format("time=\"%.2lf\"", static_cast<double>(list.f32(at + 32)));
    } else {
      out.format("distance=%s", format_range(o, list.f32(at + 32)));
    }
  }
  if (b & 0x01) {
    out.write("\n\t\t\t\t\t");
    out.format("flyOver=\"%s\"", (flags & 4) ? "YES" : "NO");
  }
  if (b & 0x10) {
    out.write("\n\t\t\t\t\t");
    out.write("turnDirection=\"");
    out.write(turn == 1 ? "L\"" : turn == 2 ? "R\"" : "E\"");
  }
  if (b & 0x02) {
    out.write("\n\t\t\t\t\tfixType=\"");
    out.write(fix_type_name(fix & 15));
    out.put('"');
  }
  if (b & 0x08) {
    out.write("\n\t\t\t\t\tfixIdent=\"");
    out.format("%s\"", decode_ident(fix));
  }
  if (b & 0x04) out.format("\n\t\t\t\t\tfixRegion=\"%s\"", decode_region(list.u32(at + 8)));
  if (b & 0x20) {
    out.write("\n\t\t\t\t\trecommendedType=\"");
    out.write(fix_type_name(recommended & 15));
    out.put('"');
  }
  if (b & 0x80) {
    // The recommended navaid's own identifier, whatever its type.
    const IdentText ident = decode_ident(recommended);
    if (!ident.str().empty()) {
      out.write("\n\t\t\t\t\trecommendedIdent=\"");
      out.format("%s\"", ident);
    }
  }
  if (b & 0x40) {
    const RegionText region = decode_region(list.u32(at + 16));
    if (!region.str().empty()) out.format("\n\t\t\t\t\trecommendedRegion=\"%s\"", region);
  }
  out.write(" />\n");
}

}  // namespace

LegAttributes leg_attributes(uint32_t leg_type) {
  const LegAttributes* row = find_leg_row(leg_type);
  return row != nullptr ? *row : kEveryAttribute;
}

bool leg_type_has_row(uint32_t leg_type) { return find_leg_row(leg_type) != nullptr; }

EnumText leg_type_name(uint32_t code) {
  if (code == 0 || code >= std::size(kLegTypes)) return EnumText::number(code);
  return EnumText(kLegTypes[code]);
}

const char* fix_type_name(uint32_t code) {
  return code < std::size(kFixTypes) ? kFixTypes[code] : "TERMINAL_WAYPOINT";
}

void write_leg_list(DecodeContext& ctx, const char* list_name, const Record& list) {
  ctx.out.format("\t\t\t<%s>\n", list_name);
  const uint32_t count = list.u16(6);
  uint64_t at = kLegsAt;
  for (uint32_t i = 0; i < count; ++i, at += kLegSize) {
    if (!list.holds(at, kLegSize)) {
      ctx.report_malformed(list.offset());
      break;
    }
    write_leg(ctx, list, at);
  }
  ctx.out.format("\t\t\t</%s>\n", list_name);
}

}  // namespace terrova
