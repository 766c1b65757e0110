// Leg lists of approaches (0x2D approach legs, 0x2E missed-approach legs, 0x2F transition legs),
// and of the MSFS approaches and terminal procedures (0xE1 approach legs, 0xE2 missed-approach
// legs, 0xE3 transition legs, 0xE4 runway transition legs, 0xE5 common-route legs, 0xE6 enroute
// transition legs). Later SDKs store the same six lists, in the same order, as 0xEC-0xF1 with legs
// of 68 bytes (seen in no file) and 0xF4-0xF9 with legs of 72 bytes (0xF4, 0xF6, 0xF7 and 0xF8
// checked: every list fills its record, and the DF legs of one departure give back its source's
// fixes, types and fly-over flags); the bytes past the 60 of the MSFS leg are zero in every leg
// seen and are not read.
//   +0  u16  id
//   +2  u32  size
//   +6  u16  leg count
//   +8       legs of 44 bytes (60 in the MSFS lists):
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
//              +44 f32 MSFS only: speed limit, knots; negative: none
//              +48 f32 MSFS only: vertical angle, degrees; 0: none
//              +52     MSFS only: 8 bytes, zero in every leg seen
//              +60     later lists only: 8 or 12 bytes, zero in every leg seen
#include <algorithm>
#include <iterator>
#include <string_view>

#include "airport/approach.h"
#include "format/ident.h"

namespace terrova {
namespace {

constexpr uint32_t kLegsAt = 8;
constexpr uint32_t kLegSize = 44;
constexpr uint32_t kMsfsLegSize = 60;
// The MSFS list ids, six of each leg size: {first id, leg size}.
struct ListForm {
  uint32_t first_id;
  uint32_t leg_size;
};
constexpr ListForm kMsfsListForms[] = {
    {0xE1, kMsfsLegSize},
    {0xEC, 68          },
    {0xF4, 72          },
};
constexpr uint32_t kListsPerForm = 6;
constexpr uint32_t kSpeedLimitAt = 44;
constexpr uint32_t kVerticalAngleAt = 48;
constexpr std::string_view kTabs = "\t\t\t\t\t\t\t\t";

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

// The line break and indentation of an attribute line of a leg at `depth` tabs.
struct LegLines {
  std::string_view tabs;  // the leg's attribute lines: one tab more than the leg
  void next(Output& out) const {
    out.put('\n');
    out.write(tabs);
  }
};

void write_leg(DecodeContext& ctx, const Record& list, uint64_t at, uint32_t leg_size,
               uint32_t depth) {
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
  uint32_t b = row.mask_b;
  // The MSFS lists store 0 for a leg without a recommended navaid, which the older template would
  // write as a navaid "0" of type TERMINAL_WAYPOINT.
  if (leg_size >= kMsfsLegSize && recommended == 0) b &= ~uint32_t{0xA0};
  const LegLines line{kTabs.substr(0, std::min<size_t>(depth + 1, kTabs.size()))};

  out.write(kTabs.substr(0, std::min<size_t>(depth, kTabs.size())));
  out.format("<Leg type=\"%s\"", leg_type_name(type));
  if (a & 0x20) {
    line.next(out);
    out.format("altitude1=%s", format_length(o, list.f32(at + 36)));
  }
  if (a & 0x40) {
    line.next(out);
    out.format("altitude2=%s", format_length(o, list.f32(at + 40)));
  }
  if ((a & 0x10) && descriptor >= 1 && descriptor <= 4) {
    line.next(out);
    out.format("altitudeDescriptor=\"%c\"", kAltitudeDescriptors[descriptor - 1]);
  }
  if (a & 0x01) {
    line.next(out);
    out.format("theta=\"%0.4lf\"", static_cast<double>(list.f32(at + 20)));
  }
  if (a & 0x02) {
    line.next(out);
    out.format("rho=\"%0.4lf\"", static_cast<double>(list.f32(at + 24)));
  }
  if (a & 0x04) {
    line.next(out);
    out.write((flags & 1) ? "trueCourse" : "magneticCourse");
    out.format("=\"%0.2lf\"", static_cast<double>(list.f32(at + 28)));
  }
  if (a & 0x08) {
    line.next(out);
    if (flags & 2) {
      out.format("time=\"%.2lf\"", static_cast<double>(list.f32(at + 32)));
    } else {
      out.format("distance=%s", format_range(o, list.f32(at + 32)));
    }
  }
  if (b & 0x01) {
    line.next(out);
    out.format("flyOver=\"%s\"", (flags & 4) ? "YES" : "NO");
  }
  if (b & 0x10) {
    line.next(out);
    out.write("turnDirection=\"");
    out.write(turn == 1 ? "L\"" : turn == 2 ? "R\"" : "E\"");
  }
  if (b & 0x02) {
    line.next(out);
    out.write("fixType=\"");
    out.write(fix_type_name(fix & 15));
    out.put('"');
  }
  if (b & 0x08) {
    line.next(out);
    out.format("fixIdent=\"%s\"", decode_ident(fix));
  }
  if (b & 0x04) {
    line.next(out);
    out.format("fixRegion=\"%s\"", decode_region(list.u32(at + 8)));
  }
  if (b & 0x20) {
    line.next(out);
    out.write("recommendedType=\"");
    out.write(fix_type_name(recommended & 15));
    out.put('"');
  }
  if (b & 0x80) {
    // The recommended navaid's own identifier, whatever its type.
    const IdentText ident = decode_ident(recommended);
    if (!ident.str().empty()) {
      line.next(out);
      out.format("recommendedIdent=\"%s\"", ident);
    }
  }
  if (b & 0x40) {
    const RegionText region = decode_region(list.u32(at + 16));
    if (!region.str().empty()) {
      line.next(out);
      out.format("recommendedRegion=\"%s\"", region);
    }
  }
  if (leg_size >= kMsfsLegSize) {
    // Written only when set: no speed limit is stored as -1, no vertical angle as 0.
    const float speed = list.f32(at + kSpeedLimitAt);
    if (speed >= 0) {
      line.next(out);
      out.format("speedLimit=\"%0.0lf\"", static_cast<double>(speed));
    }
    const float angle = list.f32(at + kVerticalAngleAt);
    if (angle != 0) {
      line.next(out);
      out.format("verticalAngle=\"%0.2lf\"", static_cast<double>(angle));
    }
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

namespace {

const ListForm* msfs_list_form(uint32_t list_id) {
  for (const ListForm& form : kMsfsListForms) {
    if (list_id >= form.first_id && list_id < form.first_id + kListsPerForm) return &form;
  }
  return nullptr;
}

}  // namespace

uint32_t leg_size_of(uint32_t list_id) {
  const ListForm* form = msfs_list_form(list_id);
  return form != nullptr ? form->leg_size : kLegSize;
}

uint32_t msfs_list_kind(uint32_t list_id) {
  const ListForm* form = msfs_list_form(list_id);
  return form != nullptr ? list_id - form->first_id : kNotMsfsList;
}

void write_legs(DecodeContext& ctx, const Record& list, uint32_t depth) {
  const uint32_t leg_size = leg_size_of(list.id());
  const uint32_t count = list.u16(6);
  uint64_t at = kLegsAt;
  for (uint32_t i = 0; i < count; ++i, at += leg_size) {
    if (!list.holds(at, leg_size)) {
      ctx.report_malformed(list.offset());
      break;
    }
    write_leg(ctx, list, at, leg_size, depth);
  }
}

void write_leg_list(DecodeContext& ctx, const char* list_name, const Record& list) {
  ctx.out.format("\t\t\t<%s>\n", list_name);
  write_legs(ctx, list, 4);
  ctx.out.format("\t\t\t</%s>\n", list_name);
}

}  // namespace terrova
