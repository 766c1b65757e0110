// Scenery object record, section 37:
//   +0  u16  kind id: 5 and 14 are taxiway signs; ids above 9 have the 44-byte header
//   +2  u16  record size, header included
//   +4  u32  longitude, packed
//   +8  u32  latitude, packed
//   +12 s32  altitude, millimetres
//   +16 u16  altitude flag: non-zero means above ground level
//   +18 u16  pitch   } in units of 360/65536 degree
//   +20 u16  bank    }
//   +22 u16  heading }
//   +24 u32  image complexity code (0-5; larger codes count as 0)
//   +28 16 bytes, kind ids above 9 only: not decoded
//   +28 or +44: kind data up to the end of the record
#include "scenery/scenery_object.h"

#include "format/circle.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kShortHeader = 28;
constexpr uint32_t kLongHeader = 44;
constexpr double kAngleUnit = 0.0054931640625;  // 360/65536 degree

// Kinds n of the short header pair with n + 9 of the long one. The decoders of these kinds are
// added with the kinds themselves; until then their objects are dumped.
constexpr SceneryObjectKind kSceneryObjectKinds[] = {
    {1,  "GenericBuilding", nullptr},
    {10, "GenericBuilding", nullptr},
    {2,  "LibraryObject",   nullptr},
    {11, "LibraryObject",   nullptr},
    {3,  "Windsock",        nullptr},
    {12, "Windsock",        nullptr},
    {4,  "Effect",          nullptr},
    {13, "Effect",          nullptr},
    {7,  "Trigger",         nullptr},
    {16, "Trigger",         nullptr},
    {0,  "NULL",            nullptr},
};

constexpr const char* kImageComplexityNames[] = {"VERY_SPARSE", "SPARSE",     "NORMAL",
                                                 "DENSE",       "VERY_DENSE", "EXTREMELY_DENSE"};

bool is_taxiway_sign(uint32_t kind_id) { return kind_id == 5 || kind_id == 14; }

// The record comment and the start tag with the header as attributes.
void write_object_start(DecodeContext& ctx, uint32_t offset) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  uint32_t complexity = image.u32(offset + 24);
  if (complexity > 5) complexity = 0;

  if (!o.terse) write_record_comment(ctx.out, "SceneryObject", offset);
  ctx.out.format(
      "\t<SceneryObject lat=\"%s\" lon=\"%s\" alt=%s\n\t\taltitudeIsAgl=\"%s\" pitch=\"%0.2lf\" "
      "bank=\"%0.2lf\" heading=\"%0.2lf\"\n\t\timageComplexity=\"%s\">\n",
      format_coordinate(o, decode_latitude(image.i32(offset + 8))),
      format_coordinate(o, decode_longitude(image.i32(offset + 4))),
      format_altitude(o, image.i32(offset + 12)), true_false(image.u16(offset + 16) != 0),
      image.u16(offset + 18) * kAngleUnit, image.u16(offset + 20) * kAngleUnit,
      image.u16(offset + 22) * kAngleUnit, kImageComplexityNames[complexity]);
}

}  // namespace

const SceneryObjectKind* find_scenery_object_kind(uint32_t kind_id) {
  for (const SceneryObjectKind& kind : kSceneryObjectKinds) {
    if (kind.kind_id == 0) break;
    if (kind.kind_id == (kind_id & 0xFFFF)) return &kind;
  }
  return nullptr;
}

void decode_scenery_objects(DecodeContext& ctx, const SubsectionRun& run) {
  const Image& image = ctx.image;
  const uint64_t end = uint64_t{run.data_offset} + run.data_size;
  uint64_t offset = run.data_offset;
  while (offset < end) {
    if (!image.contains(offset, 4)) {
      ctx.report_malformed(offset);
      return;
    }
    const uint32_t kind_id = image.u16(offset);
    const uint32_t size = image.u16(offset + 2);
    const uint32_t header = kind_id > 9 ? kLongHeader : kShortHeader;
    // The walk advances by the size field, so a record that cannot hold its own header or that
    // leaves the run ends it.
    if (size < header || offset + size > end || !image.contains(offset, size)) {
      ctx.report_malformed(offset);
      return;
    }
    const uint32_t at = static_cast<uint32_t>(offset);

    if (is_taxiway_sign(kind_id)) {
      // Signs are written inside the airport that claims them; the circle is applied there.
      if (!ctx.options.terse) write_record_comment(ctx.out, "TaxiwaySign", at);
      ctx.tables.deferred_signs.push_back({at, 1});
      offset += size;
      continue;
    }

    if (!in_decode_circle(ctx.options, decode_latitude(image.i32(offset + 8)),
                          decode_longitude(image.i32(offset + 4)))) {
      offset += size;
      continue;
    }

    write_object_start(ctx, at);
    const SceneryObjectKind* kind = find_scenery_object_kind(kind_id);
    if (kind != nullptr && kind->decode != nullptr) {
      // The kind decoder tells how much kind data there is; the walk follows it.
      offset +=
          header + uint64_t{kind->decode(ctx, kind_id, kind->name, at + header, size - header)};
    } else {
      dump_unknown_object(ctx, kind_id, "Unknown", at, size);
      offset += size;
    }
    ctx.out.write("\t</SceneryObject>\n\n");
  }
}

uint32_t dump_unknown_object(DecodeContext& ctx, uint32_t kind_id, const char* name,
                             uint32_t offset, uint32_t length) {
  (void)name;
  static constexpr char kHex[] = "0123456789ABCDEF";
  Output& out = ctx.out;
  if (!ctx.options.terse) out.format("<!-- current offset: 0x%.8X -->\n", offset);
  out.format("\n\t\t<!-- dumping unknown object (ID: 0x%0.X), length: %d", kind_id, length);
  const std::string_view bytes =
      ctx.image.bytes(offset, static_cast<int32_t>(length) > 0 ? length : 0);
  size_t column = 0;
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    char* p = out.reserve(7);
    if (column == 0) {
      *p++ = '\n';
      *p++ = '\t';
      *p++ = '\t';
      *p++ = '\t';
    }
    *p++ = kHex[b >> 4];
    *p++ = kHex[b & 15];
    *p++ = ' ';
    out.commit(p);
    column = (column + 1) & 15;
  }
  out.write("\n\t\t-->\n\n");
  return static_cast<int32_t>(length) > 0 ? length : 0;
}

}  // namespace terrova
