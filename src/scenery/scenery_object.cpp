// Scenery object record, section 37:
//   +0  u16  kind id: 5 and 14 are taxiway signs; ids above 9 have the 44-byte header
//   +2  u16  record size, header included
//   +4  u32  longitude, packed
//   +8  u32  latitude, packed
//   +12 s32  altitude, millimetres
//   +16 u16  flag word: bit 4 `NoShadow`, bit 8 `NoSnow`, bit 9 `LowResAltitude` (checked on the
//            MSFS samples: 96, 1 and 582 objects, each with its element in the source and no
//            other object with the bit); the rest non-zero means above ground level (bit 0 in
//            every MSFS object whose source says altitudeIsAgl="TRUE")
//   +18 u16  pitch   } in units of 360/65536 degree
//   +20 u16  bank    }
//   +22 u16  heading }
//   +24 u32  image complexity code (0-5; larger codes count as 0)
//   +28 16 bytes, kind ids above 9 only: the instance GUID, all zero for none
//   +28 or +44: kind data up to the end of the record
// In MSFS files an object may be followed by groups of attached objects (attached_object.cpp).
// A record of an id the walk does not know is dumped and passed by its size; only a size smaller
// than the record's header, or one that leaves the run, ends the walk.
#include "scenery/scenery_object.h"

#include <cstring>
#include <iterator>
#include <span>

#include "format/circle.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "scenery/attached_object.h"
#include "scenery/kinds.h"
#include "scenery/taxiway_sign.h"

namespace terrova {
namespace {

constexpr uint32_t kWalkHeader = 4;  // u16 id, u16 size
constexpr uint32_t kShortHeader = 28;
constexpr uint32_t kLongHeader = 44;
constexpr uint32_t kInstanceIdAt = 28;
constexpr uint32_t kFlagsAt = 16;
constexpr double kAngleUnit = 0.0054931640625;   // 360/65536 degree
constexpr uint32_t kEffectNameField = 80;        // the effect's name at the start of its kind data
constexpr uint32_t kSimObjectTitleLengthAt = 4;  // a SimObject's container title (sim_object.cpp)
constexpr uint32_t kSimObjectTitleAt = 8;

// The bits of the flag word that stand for an element of their own, in the order the elements
// are written. `LowResAltitude` is newer than the schema.
struct ObjectFlag {
  uint16_t bit;
  const char* element;
};
constexpr ObjectFlag kObjectFlags[] = {
    {1u << 4, "NoShadow"      },
    {1u << 8, "NoSnow"        },
    {1u << 9, "LowResAltitude"},
};
constexpr uint16_t kElementFlags = (1u << 4) | (1u << 8) | (1u << 9);

// Kinds n of the short header pair with n + 9 of the long one.
constexpr SceneryObjectKind kSceneryObjectKinds[] = {
    {1,    "GenericBuilding", kGenericBuildingMinSize, decode_generic_building },
    {10,   "GenericBuilding", kGenericBuildingMinSize, decode_generic_building },
    {2,    "LibraryObject",   kLibraryObjectMinSize,   decode_library_object   },
    {11,   "LibraryObject",   kLibraryObjectMinSize,   decode_library_object   },
    {3,    "Windsock",        kWindsockMinSize,        decode_windsock         },
    {12,   "Windsock",        kWindsockMinSize,        decode_windsock         },
    {4,    "Effect",          kEffectMinSize,          decode_effect           },
    {13,   "Effect",          kEffectMinSize,          decode_effect           },
    {7,    "Trigger",         kTriggerMinSize,         decode_trigger          },
    {16,   "Trigger",         kTriggerMinSize,         decode_trigger          },
 // MSFS kinds.
    {0x18, "Windsock",        kMsfsWindsockMinSize,    decode_msfs_windsock    },
    {0x19, "SimObject",       kSimObjectMinSize,       decode_sim_object       },
    {0x16, "CarParking",      kCarParkingMinSize,      decode_car_parking      },
    {0x1D, "SimObject",       kLiverySimObjectMinSize, decode_livery_sim_object},
    {0x1E, "CarParking",      kLaterCarParkingMinSize, decode_later_car_parking},
};

constexpr const char* kImageComplexityNames[] = {"VERY_SPARSE", "SPARSE",     "NORMAL",
                                                 "DENSE",       "VERY_DENSE", "EXTREMELY_DENSE"};

// The record comment and the start tag with the header as attributes.
void write_object_start(DecodeContext& ctx, const Record& object) {
  const DecodeOptions& o = ctx.options;
  uint32_t complexity = object.u32(24);
  if (complexity > 5) complexity = 0;
  const uint16_t flags = object.u16(kFlagsAt);

  if (!o.terse) write_record_comment(ctx.out, "SceneryObject", object.offset());
  ctx.out.format(
      "\t<SceneryObject lat=\"%s\" lon=\"%s\" alt=%s\n\t\taltitudeIsAgl=\"%s\" pitch=\"%0.2lf\" "
      "bank=\"%0.2lf\" heading=\"%0.2lf\"\n\t\timageComplexity=\"%s\"",
      format_coordinate(o, decode_latitude(object.i32(8))),
      format_coordinate(o, decode_longitude(object.i32(4))), format_altitude(o, object.i32(12)),
      true_false((flags & ~kElementFlags) != 0), object.u16(18) * kAngleUnit,
      object.u16(20) * kAngleUnit, object.u16(22) * kAngleUnit, kImageComplexityNames[complexity]);
  // Other objects and exclusions refer to an object by its instance id: without it the object
  // would get a new identity when compiled again.
  if (object.id() > 9 && !guid_is_zero(object, kInstanceIdAt)) {
    ctx.out.write("\n\t\tinstanceId=\"");
    write_registry_guid(ctx.out, object, kInstanceIdAt);
    ctx.out.put('"');
  }
  ctx.out.write(">\n");
  for (const ObjectFlag& flag : kObjectFlags) {
    if ((flags & flag.bit) != 0) ctx.out.format("\t\t<%s />\n", flag.element);
  }
}

// Hands the object to the facts listener, which must be set: its kind, position and GUIDs, and
// the name of a library object from the names file or of an effect.
void report_scenery_object(DecodeContext& ctx, const Record& object, const char* kind_name,
                           uint32_t header) {
  SceneryObjectFact fact;
  fact.kind = kind_name;
  fact.lat = decode_latitude(object.i32(8));
  fact.lon = decode_longitude(object.i32(4));
  fact.offset = object.offset();
  GuidText instance{};
  if (object.id() > 9 && !guid_is_zero(object, kInstanceIdAt)) {
    instance = guid_text(object, kInstanceIdAt);
    fact.instance = instance.str();
  }
  const Record kind_data = object.part(header, object.size() - header);
  GuidText guid{};
  if (std::strcmp(kind_name, "LibraryObject") == 0 && kind_data.holds(0, 16)) {
    guid = guid_text(kind_data, 0);
    fact.guid = guid.str();
    int index = 0;
    if (ctx.object_names != nullptr && table_find(*ctx.object_names, fact.guid, index)) {
      fact.name = (*ctx.object_names)[index].name;
    }
  } else if (std::strcmp(kind_name, "Effect") == 0) {
    fact.name = kind_data.text(0, kEffectNameField);
  } else if (std::strcmp(kind_name, "SimObject") == 0) {
    // The container title: its length at +4, the text from +8, cut at the kind data's end.
    fact.name = kind_data.bytes(kSimObjectTitleAt, kind_data.u32(kSimObjectTitleLengthAt));
  }
  ctx.facts->scenery_object(fact);
}

}  // namespace

const SceneryObjectKind* find_scenery_object_kind(uint32_t kind_id) {
  // The low 16 bits of the id are compared.
  return find_record_kind(std::span<const SceneryObjectKind>(kSceneryObjectKinds),
                          kind_id & 0xFFFF);
}

namespace {

// Writes the objects that `walk` meets.
void write_objects(DecodeContext& ctx, RecordWalk& walk) {
  uint16_t kind_id = 0;
  Record object;
  while (walk.more()) {
    kind_id = 0;
    if (walk.peek_id(kind_id) && kind_id == kAttachedGroupBegin) {
      // A group without an object before it: kept as dumps.
      read_attached_groups(ctx, walk, AttachedGroupUse::kDump);
      continue;
    }
    // The walk advances by the size field, so a record that cannot hold the header of its kind
    // or that leaves the run ends it. A record of an id the walk does not know needs only its
    // id and size to be passed.
    const SceneryObjectKind* kind = find_scenery_object_kind(kind_id);
    const bool sign = is_taxiway_sign_kind(kind_id);
    const uint32_t header = kind_id > 9 ? kLongHeader : kShortHeader;
    if (!walk.next(object, kind != nullptr || sign ? header : kWalkHeader)) return;

    if (sign) {
      // Signs are written inside the airport that claims them; the circle is applied there.
      object.name_kind("TaxiwaySign");
      if (ctx.facts != nullptr) report_scenery_object(ctx, object, "TaxiwaySign", header);
      if (!ctx.options.terse) write_record_comment(ctx.out, "TaxiwaySign", object.offset());
      keep_taxiway_signs(ctx, object);
      continue;
    }
    if (object.size() < header) {
      // Too short for an object header: no object, only its bytes.
      dump_unknown_object(ctx, kind_id, object);
      continue;
    }
    if (!in_decode_circle(ctx.options, decode_latitude(object.i32(8)),
                          decode_longitude(object.i32(4)), object)) {
      read_attached_groups(ctx, walk, AttachedGroupUse::kPass);
      continue;
    }

    write_object_start(ctx, object);
    if (ctx.facts != nullptr) {
      report_scenery_object(ctx, object, kind != nullptr ? kind->name : "Unknown", header);
    }
    if (kind != nullptr && kind->decode != nullptr) {
      object.name_kind(kind->name);
      const Record kind_data = object.part(header, object.size() - header);
      if (record_holds(ctx, kind_data, kind->min_size)) {
        // The kind decoder tells how much kind data there is; the walk follows it.
        const uint32_t consumed = kind->decode(ctx, kind->name, kind_data);
        walk.resume_at(object.file_offset(uint64_t{header} + consumed));
      }
    } else {
      dump_unknown_object(ctx, kind_id, object);
    }
    read_attached_groups(ctx, walk, AttachedGroupUse::kWrite);
    ctx.out.write("\t</SceneryObject>\n\n");
  }
}

}  // namespace

void write_scenery_objects(DecodeContext& ctx, const Record& area) {
  RecordWalk walk(ctx, area.view(), area.offset(), SizeField::kU16);
  write_objects(ctx, walk);
}

void write_counted_scenery_objects(DecodeContext& ctx, const Record& record, uint64_t size_at) {
  const uint64_t objects_at = size_at + 4;
  uint64_t length = record.u32(size_at);
  if (!record.holds(objects_at, length)) {
    ctx.report_malformed(record.offset());
    length = record.size() - objects_at;
  }
  write_scenery_objects(ctx, record.part(objects_at, length));
}

void decode_scenery_objects(DecodeContext& ctx, const SubsectionRun& run) {
  // Objects start inside the run; the last one may end past the run's data size, as long as it
  // lies inside the file.
  RecordWalk walk(ctx, ctx.image, run.data_offset, SizeField::kU16);
  walk.starting_below(uint64_t{run.data_offset} + run.data_size);
  write_objects(ctx, walk);
}

void dump_unknown_object(DecodeContext& ctx, uint32_t kind_id, const Record& object) {
  Output& out = ctx.out;
  if (!ctx.options.terse) out.format("<!-- current offset: 0x%.8X -->\n", object.offset());
  out.format("\n\t\t<!-- dumping unknown object (ID: 0x%0.X), length: %d", kind_id, object.size());
  write_hex_lines(out, object.bytes(0, object.size()), false);
  object.leave_out_of_report();
}

}  // namespace terrova
