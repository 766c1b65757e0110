// Attached objects of MSFS scenery objects. In MSFS files the attachments of an object are not
// part of its record: a group of records with the u16 sizes of scenery objects follows it.
//   0x1002  group begin: id and size only, 4 bytes (checked: 7 groups, AZGA and PAUN)
//   0x11    attached beacon, 49 bytes (below); a group may hold several attached objects
//   0x1003  group end: id and size only, 4 bytes
// The FSX attachment that library_object.cpp reads inside its parent's kind data has the same
// records. The id of an attached object follows the kinds of the object header: 0x11 is the
// beacon (8 + 9); attached library objects and effects are not seen and are dumped.
//
// Attached beacon 0x11:
//   +0  u16   id, +2 u16 size
//   +4  u16   48 in every record, the offset of the name below (bytes)
//   +6  u16   pitch   } units of 360/65536 degree (checked, 0 only; the FSX form reads them at
//   +8  u16   bank    } the same place)
//   +10 u16   heading }
//   +12 12 bytes, zero in every record (bytes)
//   +24 GUID  instance id, registry form (checked: 7 of 7)
//   +40 4 bytes, ff ff 00 00 in every record (bytes)
//   +44 u8    beacon code: 0xF5 civilian airport (checked, 7 of 7), the others as the FSX form
//   +45 u8    1 in every record, +46 u16 0 (bytes)
//   +48 text  attach point name, NUL-terminated (checked: empty in 7 of 7)
#include "scenery/attached_object.h"

#include "format/ident.h"
#include "format/xml.h"
#include "scenery/kinds.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr uint16_t kAttachedBeacon = 0x11;
constexpr uint32_t kGroupRecordHeader = 4;  // u16 id, u16 size
constexpr uint32_t kPitchAt = 6;
constexpr uint32_t kBankAt = 8;
constexpr uint32_t kHeadingAt = 10;
constexpr uint32_t kInstanceIdAt = 24;
constexpr uint32_t kBeaconCodeAt = 44;
constexpr uint32_t kNameAt = 48;
constexpr double kAngleUnit = 0.0054931640625;  // 360/65536 degree

constexpr BeaconType kBeaconTypes[] = {
    {0xF5, "CIVILIAN", "AIRPORT" },
    {0xF6, "CIVILIAN", "SEA_BASE"},
    {0xF7, "CIVILIAN", "HELIPORT"},
    {0xF8, "MILITARY", "AIRPORT" },
    {0xF9, "MILITARY", "SEA_BASE"},
    {0xFA, "MILITARY", "HELIPORT"},
};

void write_attached_beacon(DecodeContext& ctx, const Record& attached) {
  Output& out = ctx.out;
  out.write("\t\t<AttachedObject attachpointName=");
  write_quoted_text(out, attached.text(kNameAt, attached.size()));
  if (!guid_is_zero(attached, kInstanceIdAt)) {
    out.write(" instanceId=\"");
    write_registry_guid(out, attached, kInstanceIdAt);
    out.put('"');
  }
  out.format("\n\t\t\tpitch=\"%0.2lf\" bank=\"%0.2lf\" heading=\"%0.2lf\">\n",
             attached.u16(kPitchAt) * kAngleUnit, attached.u16(kBankAt) * kAngleUnit,
             attached.u16(kHeadingAt) * kAngleUnit);
  const uint8_t code = attached.u8(kBeaconCodeAt);
  if (const BeaconType* beacon = find_beacon_type(code)) {
    out.format("\t\t\t<Beacon type=\"%s\" baseType=\"%s\" />\n", beacon->type, beacon->base_type);
  } else {
    // A code no file has shown: its number, and no base type that the bytes do not give.
    out.format("\t\t\t<Beacon type=\"%d\" />\n", code);
  }
  out.write("\t\t</AttachedObject>\n");
}

// One record of a group between its begin and end records.
void read_group_member(DecodeContext& ctx, const Record& member, AttachedGroupUse use) {
  if (use == AttachedGroupUse::kPass) {
    member.leave_out_of_report();
    return;
  }
  if (member.id() == kAttachedBeacon && use == AttachedGroupUse::kWrite) {
    member.name_kind("AttachedObject");
    if (record_holds(ctx, member, kNameAt)) write_attached_beacon(ctx, member);
    return;
  }
  dump_unknown_object(ctx, member.id(), member);
}

// Reads one group from its begin record; false when the walk ended inside it.
bool read_group(DecodeContext& ctx, RecordWalk& walk, AttachedGroupUse use) {
  Record begin;
  if (!walk.next(begin, kGroupRecordHeader)) return false;
  begin.name_kind("AttachedObjectGroup");
  if (use == AttachedGroupUse::kDump) dump_unknown_object(ctx, begin.id(), begin);
  uint16_t id = 0;
  Record member;
  while (walk.peek_id(id)) {
    if (!walk.next(member, kGroupRecordHeader)) return false;
    if (id == kAttachedGroupEnd) {
      member.name_kind("AttachedObjectGroup");
      if (use == AttachedGroupUse::kDump) dump_unknown_object(ctx, id, member);
      return true;
    }
    read_group_member(ctx, member, use);
  }
  // The run ends before the group does: what it held is written, the loss reported. (Bytes too
  // few for a header are reported by the walk that meets them.)
  if (!walk.more()) ctx.report_malformed(begin.offset());
  return false;
}

}  // namespace

const BeaconType* find_beacon_type(uint8_t code) {
  for (const BeaconType& beacon : kBeaconTypes) {
    if (beacon.code == code) return &beacon;
  }
  return nullptr;
}

void read_attached_groups(DecodeContext& ctx, RecordWalk& walk, AttachedGroupUse use) {
  uint16_t id = 0;
  while (walk.peek_id(id) && id == kAttachedGroupBegin) {
    if (!read_group(ctx, walk, use)) return;
  }
}

}  // namespace terrova
