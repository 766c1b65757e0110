// Approach sub-record (0x24):
//   +0  u16  id
//   +2  u32  size of the approach with its leg lists and transitions
//   +6  u8   runway suffix character
//   +7  u8   runway number
//   +8  u8   bits 0-3 approach type, bits 4-6 runway designator, bit 7 GPS overlay
//   +9       3 bytes, not read
//   +12 u32  fix identifier word; bits 0-3 the fix type (2-6, 8 localizer or 9 runway; with any
//            other type nothing is written)
//   +16 u32  fix region word
//   +20 f32  altitude, metres
//   +24 f32  heading, degrees
//   +28 f32  missed-approach altitude, metres
//   +32      records: 0x2D approach legs, 0x2E missed-approach legs, 0x2C transitions; others
//            are passed over. Records that start within the last 32 bytes are not read.
// Transition record (0x2C):
//   +6  u8   transition type: 2 DME arc, any other full
//   +8  u32  fix identifier word; bits 0-3 the fix type
//   +12 u32  fix region word
//   +16 f32  altitude, metres
//   +20 u32  DME arc only: DME identifier word
//   +24 u32  DME arc only: DME region word
//   +28 s32  DME arc only: radial
//   +32 f32  DME arc only: DME distance, metres
//   +20      (+36 for a DME arc) records: 0x2F transition legs; others are passed over
// Approach of the later form (0xB6), the fix word split in two:
//   +6  u8   runway suffix character
//   +7  u8   runway number
//   +8  u8   type and flags as above
//   +9       3 bytes, not read
//   +12 u32  fix type (as above)
//   +16 u32  fix identifier, the number itself
//   +20 u32  fix region word
//   +24 f32  altitude, metres
//   +28 f32  heading, degrees
//   +32 f32  missed-approach altitude, metres
//   +36      records as above, transitions in either form
// Approach inside an MSFS airport (0x56): the 0x24 form, whose records are 0xE1 approach legs,
// 0xE2 missed-approach legs and 0x2C transitions holding 0xE3 transition legs, all with legs of
// 60 bytes; records are read up to the end of the approach.
// Approach of later MSFS SDKs (0xFA): the 0x24 form with 4 more bytes, zero, at +32; its records
// from +36 are the later leg lists (0xF4 approach legs, 0xF5 missed-approach legs, see
// approach_legs.cpp) and 0x49 transitions (bytes: the four approaches of one file fill their
// records exactly; type, runway, fix, altitudes and heading decode to the airport's procedures).
// Transition of later MSFS SDKs (0x49): the 0x2C form with 8 more bytes, zero, after its fixed
// part; +7 holds the leg count. Its leg lists (0xF6) follow from +28 (bytes, full transitions
// only; a DME arc is read as 0x2C's, its 8 bytes after the arc's fields, by analogy).
// Transition of the later form (0xB7):
//   +6  u8   transition type: 2 DME arc, any other full
//   +7  u8   leg count, not read
//   +8  u32  fix type
//   +12 u32  fix identifier, the number itself
//   +16 u32  fix region word
//   +20 f32  altitude, metres
//   +24      DME arc only: DME identifier word, DME region word, radial, DME distance, as at +20
//            of 0x2C
//   +24      (+40 for a DME arc) records: 0x2F transition legs
#include "airport/approach.h"

#include "airport/msfs_airport.h"
#include "format/ident.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kApproachFixedSize = 32;
constexpr uint32_t kLaterApproachFixedSize = 36;
constexpr uint16_t kLaterApproachId = 0xB6;
constexpr uint16_t kLaterTransitionId = 0xB7;
constexpr uint16_t kMsfsLaterApproachId = 0xFA;
constexpr uint16_t kMsfsLaterTransitionId = 0x49;
constexpr uint32_t kMsfsLaterApproachFixedSize = 36;
constexpr uint32_t kMsfsLaterTransitionExtra = 8;  // the bytes after the 0x2C fixed part
constexpr uint32_t kIdentShift = 5;      // the identifier word keeps the number above 5 bits
constexpr uint32_t kTrailingBytes = 32;  // records starting this close to the end are not read
constexpr uint32_t kLegListHeader = 8;
constexpr uint32_t kFullTransitionSize = 20;
constexpr uint32_t kDmeTransitionSize = 36;
constexpr uint16_t kApproachLegsId = 0x2D;
constexpr uint16_t kMissedApproachLegsId = 0x2E;
constexpr uint16_t kTransitionId = 0x2C;
constexpr uint16_t kTransitionLegsId = 0x2F;
constexpr uint8_t kDmeArcType = 2;

constexpr const char* kApproachTypes[] = {"NONE",   "GPS",       "VOR",  "NDB",
                                          "ILS",    "LOCALIZER", "SDF",  "LDA",
                                          "VORDME", "NDBDME",    "RNAV", "LOCALIZER_BACKCOURSE"};

// An approach ends at a navaid, a waypoint, a localizer or the runway itself; fix type 7 names
// none of them, and 0, 1 and the codes above 9 are not fix types.
bool is_approach_fix_type(uint32_t code) {
  return (code >= 2 && code <= 6) || code == 8 || code == 9;
}

bool is_ascii_letter_or_digit(uint32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Writes the transition at `record`, of either form, when it holds its fixed part; otherwise
// reports it. The later form splits the fix word in two (type at +8, identifier at +12), joined
// here into the identifier word of the older form, and moves what follows by 4 bytes.
void decode_transition(DecodeContext& ctx, const Record& record) {
  const bool later = record.id() == kLaterTransitionId;
  const uint32_t shift = later ? 4 : 0;
  TransitionFields f;
  f.dme_arc = record.u8(6) == kDmeArcType;
  const uint32_t extra = record.id() == kMsfsLaterTransitionId ? kMsfsLaterTransitionExtra : 0;
  const uint32_t fixed = (f.dme_arc ? kDmeTransitionSize : kFullTransitionSize) + shift + extra;
  if (!record_holds(ctx, record, fixed)) return;
  f.fix_word = later ? record.u32(12) << kIdentShift | (record.u32(8) & 15) : record.u32(8);
  f.fix_region = record.u32(12 + shift);
  f.altitude = record.f32(16 + shift);
  if (f.dme_arc) {
    f.dme_ident = record.u32(20 + shift);
    f.dme_region = record.u32(24 + shift);
    f.radial = record.i32(28 + shift);
    f.dme_distance = record.f32(32 + shift);
  }
  write_transition(ctx, f, record, fixed);
}

}  // namespace

EnumText approach_type_name(uint32_t code) { return EnumText(kApproachTypes, code); }

void write_approach_start(DecodeContext& ctx, const char* name, const ApproachFields& f) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  out.format("\t\t<%s type=\"%s\" runway=\"%s\" suffix=\"", name,
             approach_type_name(f.type_flags & 15), format_runway_number(f.runway));
  if (is_ascii_letter_or_digit(f.suffix)) out.put(static_cast<char>(f.suffix));
  out.write("\"\n");
  out.write("\t\t\tgpsOverlay=\"");
  out.write(true_false((f.type_flags >> 7) & 1));
  out.format("\" designator=\"%s\" fixType=\"%s\"\n\t\t\tfixRegion=\"%s\" ",
             designator_name((f.type_flags >> 4) & 7), fix_type_name(f.fix_type),
             decode_region(f.fix_region));
  out.format("fixIdent=\"%s\" altitude=%s\n\t\t\theading=\"%0.2lf\" ", decode_ident(f.fix_ident),
             format_length(o, f.altitude), static_cast<double>(f.heading));
  out.format("missedAltitude=%s>\n", format_length(o, f.missed_altitude));
}

void write_approach_children(DecodeContext& ctx, const Record& approach, uint64_t children_at,
                             uint64_t children_end) {
  RecordWalk walk(ctx, approach, children_at);
  Record child;
  while (walk.more() && walk.position() < approach.file_offset(children_end) && walk.next(child)) {
    const uint32_t list_kind = msfs_list_kind(child.id());
    if (child.id() == kApproachLegsId || list_kind == kApproachLegList) {
      child.name_kind("ApproachLegs");
      if (record_holds(ctx, child, kLegListHeader)) write_leg_list(ctx, "ApproachLegs", child);
    } else if (child.id() == kMissedApproachLegsId || list_kind == kMissedApproachLegList) {
      child.name_kind("MissedApproachLegs");
      if (record_holds(ctx, child, kLegListHeader)) {
        write_leg_list(ctx, "MissedApproachLegs", child);
      }
    } else if (child.id() == kTransitionId || child.id() == kLaterTransitionId ||
               child.id() == kMsfsLaterTransitionId) {
      child.name_kind("Transition");
      decode_transition(ctx, child);
    }
  }
}

void write_transition(DecodeContext& ctx, const TransitionFields& f, const Record& transition,
                      uint64_t legs_at) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  out.format(
      "\t\t\t<Transition transitionType=\"%s\" fixType=\"%s\"  fixRegion=\"%s\"\n\t\t\t\tfixIdent="
      "\"%s\" altitude=%s>\n",
      f.dme_arc ? "DME" : "FULL", fix_type_name(f.fix_word & 15), decode_region(f.fix_region),
      decode_ident(f.fix_word), format_length(o, f.altitude));
  if (f.dme_arc) {
    out.format(
        "\t\t\t\t<DmeArc radial=\"%ld\" distance=%s dmeRegion=\"%s\"\n\t\t\t\t\tdmeIdent=\"%s\" "
        "/>\n",
        f.radial, format_range(o, f.dme_distance), decode_region(f.dme_region),
        decode_ident(f.dme_ident));
  }
  RecordWalk walk(ctx, transition, legs_at);
  Record list;
  while (walk.next(list)) {
    const bool legs =
        list.id() == kTransitionLegsId || msfs_list_kind(list.id()) == kTransitionLegList;
    if (legs) list.name_kind("TransitionLegs");
    if (legs && record_holds(ctx, list, kLegListHeader)) {
      write_leg_list(ctx, "TransitionLegs", list);
    }
  }
  out.write("\t\t\t</Transition>\n");
}

void decode_approach(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  ApproachFields f;
  // The later form splits the fix word in two and moves what follows by 4 bytes.
  const bool later = record.id() == kLaterApproachId;
  const uint32_t shift = later ? 4 : 0;
  if (later) {
    f.fix_type = record.u32(12);
    f.fix_ident = record.u32(16) << kIdentShift | (f.fix_type & 15);
  } else {
    f.fix_ident = record.u32(12);
    f.fix_type = f.fix_ident & 15;
  }
  if (!is_approach_fix_type(f.fix_type)) return;
  f.suffix = record.u8(6);
  f.runway = record.u8(7);
  f.type_flags = record.u8(8);
  f.fix_region = record.u32(16 + shift);
  f.altitude = record.f32(20 + shift);
  f.heading = record.f32(24 + shift);
  f.missed_altitude = record.f32(28 + shift);
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  write_approach_start(ctx, name, f);
  const bool msfs = in_msfs_airport(ctx);
  const uint32_t children_at = later                                 ? kLaterApproachFixedSize
                               : record.id() == kMsfsLaterApproachId ? kMsfsLaterApproachFixedSize
                                                                     : kApproachFixedSize;
  write_approach_children(ctx, record, children_at,
                          msfs ? record.size() : record.size() - kTrailingBytes);
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
