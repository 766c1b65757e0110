// Polygons and rectangles of MSFS, section 101 (0x65): one block per subsection, whose record
// count is 1 (bytes: every MSFS file with a source), or 0 in a file of polygons alone (EDDS-SHAPE,
// told by its attributes). The terrain-vector tools of FSX and Prepar3D fill the same section with
// record count 0 and attributes of their own; those subsections keep their comments alone, so
// that the older documents stay as they were.
//
// Block header, 32 bytes:
//   +0  u32  6 in every file (bytes)
//   +4  u32  the cell: a level-9 quad cell, 1 << 23 | the column bits interleaved with the row
//            bits (column bit i at bit 2i, row bit i at bit 2i + 1; rows count from the north
//            pole, columns from 180 west, 512 rows of 90/512 degrees, 1536 columns of 120/512);
//            the same word as the subsection's LatInfo (bytes: 16 files)
//   +8  u32  0 or 1, not read
//   +12 u32  entry count
//   +16 u32  attribute pool size P
//   +20 u32  attribute references of all entries, +24 u32 vertices of all entries, +28 u32
//            altitudes of all entries kept one per vertex (derived; not read)
//   +32      the attribute pool, P bytes: attributes one after the other, each a 16-byte GUID,
//            a u32 value size S and S value bytes (checked: the value types and values of the
//            sources' `Attribute`s)
//   +32+P    the entries one after the other:
//     +0  u32  1 in every entry (bytes)
//     +4  u32  geometry: 3 polygon, 2 line (checked: `Polygon`; the two-point lines are the
//              `Rectangle`s)
//     +8  u16  attribute count N; +10 N u32 offsets of the entry's attributes in the pool
//     then u32 vertex count V (a polygon repeats its first vertex at the end: checked, every
//     polygon of the sources), and the points:
//       u8  altitudes: 1 one f32 per vertex after the points, 2 one f32 for the entry
//       u8  point form: 2 packed, 1 compressed
//       packed: u8 width W, then V pairs of W-bit numbers (x, then y), bits taken from the low
//               bit of each byte up, padded to a byte; x counts 32768 steps west to east across
//               the cell, y 32768 steps south to north (checked: every packed vertex of the
//               sources lies inside its step; it is written at the step's middle)
//       compressed: u32 x, u32 y of the first vertex, s32 x and y steps to the second, u32 byte
//               length L of the rest, L bytes: the later vertices as bit planes of the changes
//               of that step (see polygon_points.cpp); the vertices are written as the packed
//               ones are, and a stream that does not decode to its count is written as a dump
//     then the altitudes, f32 metres (checked: `altitude` of `Polygon`, `altitude` and
//     `altitude2` of `Rectangle`)
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "scenery/polygon_points.h"
#include "scenery/scenery_sections.h"

namespace terrova {
namespace {

constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kCellAt = 4;
constexpr uint32_t kEntryCountAt = 12;
constexpr uint32_t kPoolSizeAt = 16;
constexpr uint32_t kPoolAt = 32;
constexpr uint32_t kPoolEntryHead = 20;  // GUID and value size
constexpr uint32_t kEntryHead = 10;      // form word, geometry, attribute count
constexpr uint32_t kGeometryAt = 4;
constexpr uint32_t kAttributeCountAt = 8;
constexpr uint32_t kPolygon = 3;
constexpr uint32_t kLine = 2;
constexpr uint32_t kAltitudePerVertex = 1;
constexpr uint32_t kAltitudePerEntry = 2;
constexpr uint32_t kPacked = 2;
constexpr uint32_t kCompressed = 1;
constexpr uint32_t kCompressedHead = 2 + 20;  // forms, first vertex, first step, length
constexpr uint32_t kCellLevel = 9;
constexpr double kCellSteps = 32768;

// A GUID as the file holds it: a little-endian u32, two little-endian u16, then eight bytes.
using GuidBytes = std::array<uint8_t, 16>;

constexpr uint8_t hex_digit(char c) {
  return static_cast<uint8_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in the file's byte order.
constexpr GuidBytes guid(const char (&text)[39]) {
  GuidBytes g{};
  constexpr size_t kDigitAt[16] = {7, 5, 3, 1, 12, 10, 17, 15, 20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t i = 0; i < g.size(); ++i) {
    const size_t at = kDigitAt[i];
    g[i] = static_cast<uint8_t>(hex_digit(text[at]) << 4 | hex_digit(text[at + 1]));
  }
  return g;
}

enum class ValueType : uint8_t { kUint8, kUint32, kFloat32, kGuid, kString };
constexpr const char* kTypeNames[] = {"UINT8", "UINT32", "FLOAT32", "GUID", "STRING"};

struct KnownAttribute {
  GuidBytes guid;
  const char* name;
  ValueType type;
};

// The polygon attributes of the scenery editor, in the order it writes them (checked: every
// polygon of the sources lists its attributes in this order).
constexpr KnownAttribute kPolygonAttributes[] = {
    {guid("{359C73E8-06BE-4FB2-ABCB-EC942F7761D0}"), "UniqueGUID",               ValueType::kGuid   },
    {guid("{5548FDB5-2267-4328-8E6F-FD0A45ADEC8F}"), "FlattenFalloff",           ValueType::kFloat32},
    {guid("{065E9D4D-6984-4D2A-91FD-3C33C4F53B22}"), "FlattenMode",              ValueType::kUint8  },
    {guid("{5C1A2387-1F07-47DF-A569-962CF6258E55}"), "ExcludeDetectedBuildings", ValueType::kUint8  },
    {guid("{F3C2635D-9F2F-458F-8663-90B3837BED09}"), "ExcludeOSMBuildings",      ValueType::kUint8  },
    {guid("{F78A3074-8AD5-4B8B-92C4-C1C948BB7AA5}"), "ExcludeMSBuildings",       ValueType::kUint8  },
    {guid("{684AFC09-9B38-4431-8D76-E825F54A4DFF}"), "IsWater",                  ValueType::kUint8  },
    {guid("{972B7BAC-F620-4D6E-9724-E70BF8A450DD}"), "IsWaterExclusion",         ValueType::kUint8  },
    {guid("{6A043F59-E6F2-4117-A2E4-D510E7317C29}"), "VegetationScale",          ValueType::kUint32 },
    {guid("{0A685EB0-0E01-44FE-B9EF-BFFFBC968ADE}"), "LandClassRemap",           ValueType::kUint8  },
    {guid("{CD28EFD0-D3F0-43B6-9F88-4E4707344A04}"), "MaterialGUID",             ValueType::kGuid   },
    {guid("{B140B3CC-5887-449C-95CE-98D9E900CB58}"), "MaterialColoration",       ValueType::kUint32 },
    {guid("{C17EBBDE-627D-4585-94F0-7C329CD69C4E}"), "MaterialFalloff",          ValueType::kFloat32},
    {guid("{58D2D4FF-1657-4AB0-BDB2-09B2D8A77688}"), "MaterialTiling",           ValueType::kFloat32},
    {guid("{18B58CBF-AE02-4A19-8AA9-3809E8E73400}"), "ExcludeTIN",               ValueType::kUint8  },
    {guid("{A27E9C0F-D3F5-4FB2-B020-82179BDB622D}"), "MaterialRotation",         ValueType::kFloat32},
    {guid("{591218A9-7B17-40CC-B38C-57A201A20C1D}"), "MaterialOpacity",          ValueType::kUint8  },
    {guid("{41EFF715-C392-4B31-A457-50A504353A90}"), "VegetationDensity",        ValueType::kUint32 },
    {guid("{86A147E9-ACF2-4780-9D3C-416373ECB451}"), "AirportSize",              ValueType::kUint8  },
    {guid("{4CACC252-E6DC-419A-B20C-16EC601DF70E}"), "ExclusionFlags",           ValueType::kUint32 },
    {guid("{9E2B4C3E-7D84-453F-9DCC-B6498FF46703}"), "Layer",                    ValueType::kUint32 },
    {guid("{63040596-0B21-48FD-8B5F-A9E84A5B7BC9}"), "TreeBrightnessFactor",     ValueType::kUint32 },
    {guid("{E5FA1B20-BB2F-40D5-913B-480C547CC9B8}"), "BiomeName",                ValueType::kString },
    {guid("{4D2A51D4-91AC-412F-833E-212CC10E5FBC}"), "PreciseTerraforming",      ValueType::kUint8  },
    {guid("{E82ABE17-FB4C-4F67-A28C-ED41969AEAD6}"), "VegetationFalloff",        ValueType::kFloat32},
    {guid("{3F8514F8-FAA8-4B94-AB7F-DC2078A4B888}"), "WaterType",                ValueType::kUint32 },
    {guid("{F0B11821-16FC-407B-BE5A-DBEB67A77571}"), "GeomeName",                ValueType::kString },
};

// The version of the polygon's form, which the compiler adds to the attributes as text ("0.3.0"
// where the 2020 sources write none, "0.4.0" where the 2024 sources write `version="0.4.0"`):
// written as the `version` of the `Polygon` (checked: every polygon of the 2024 sources).
constexpr GuidBytes kPolygonVersion = guid("{CE85242F-4110-4706-8344-1F3A8EE422BE}");

// The attributes a rectangle is made of (checked against the sources' `Rectangle`s).
constexpr GuidBytes kRectangleWidth = guid("{99312E49-88B1-470E-BD06-CA3A6A8C53CF}");
constexpr GuidBytes kRectangleSurface = guid("{1B6A15BB-05FB-4401-A8D1-BB520E84904C}");
constexpr GuidBytes kFlattenFalloff = guid("{5548FDB5-2267-4328-8E6F-FD0A45ADEC8F}");
constexpr GuidBytes kLayer = guid("{9E2B4C3E-7D84-453F-9DCC-B6498FF46703}");
constexpr GuidBytes kPreciseTerraforming = guid("{4D2A51D4-91AC-412F-833E-212CC10E5FBC}");
// Runway deformation: 16-byte entries, f32 alt, f32 ratio, two f32 not-a-number.
constexpr GuidBytes kDeformations = guid("{302AC02A-007B-493D-A1B8-4E7A408304BF}");
constexpr uint32_t kDeformationSize = 16;
// Height map: u16 width, u16 rows, f32 lowest, f32 highest, then width x rows u16 heights, each
// lowest + h / 32767 of the span (checked: every height of the sources within 0.0002 m).
constexpr GuidBytes kHeightmap = guid("{B7DCEA33-BD4B-4B3C-B4E2-8ECB145CB629}");
constexpr uint32_t kHeightmapHead = 12;
constexpr double kHeightSteps = 32767;

// One attribute of the pool: its GUID at `at`, its value of `size` bytes at `at` + 20.
struct PoolValue {
  uint64_t at = 0;
  uint32_t size = 0;
};

bool same_guid(const Record& block, uint64_t at, const GuidBytes& g) {
  return block.bytes(at, g.size()) ==
         std::string_view(reinterpret_cast<const char*>(g.data()), g.size());
}

// The value has the size its type takes.
bool value_fits(const PoolValue& v, ValueType type) {
  switch (type) {
    case ValueType::kUint8:
      return v.size == 1;
    case ValueType::kUint32:
    case ValueType::kFloat32:
      return v.size == 4;
    case ValueType::kGuid:
      return v.size == 16;
    case ValueType::kString:
      return true;
  }
  return false;
}

// The quad cell of the block: its south-west corner and size in degrees.
struct Cell {
  double west = 0;
  double south = 0;
  double width = 0;
  double height = 0;
};

Cell cell_of(uint32_t word) {
  uint32_t column = 0;
  uint32_t row = 0;
  for (uint32_t i = 0; i <= kCellLevel + 1; ++i) {
    column |= ((word >> (2 * i)) & 1) << i;
    row |= ((word >> (2 * i + 1)) & 1) << i;
  }
  Cell c;
  c.width = 120.0 / (1 << kCellLevel);
  c.height = 90.0 / (1 << kCellLevel);
  c.west = -180.0 + column * c.width;
  c.south = 90.0 - (row + 1) * c.height;
  return c;
}

// The `width` bits from bit `bit` of the bytes at `at`, low bits first.
uint32_t packed_bits(const Record& block, uint64_t at, uint64_t bit, uint32_t width) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < width; ++i, ++bit) {
    value |= static_cast<uint32_t>((block.u8(at + bit / 8) >> (bit % 8)) & 1) << i;
  }
  return value;
}

struct Point {
  double lat = 0;
  double lon = 0;
};

// The packed vertex `i` at the middle of its step.
Point packed_point(const Record& block, const Cell& cell, uint64_t at, uint32_t width, uint32_t i) {
  const uint64_t bit = uint64_t{i} * 2 * width;
  const double x = packed_bits(block, at, bit, width) + 0.5;
  const double y = packed_bits(block, at, bit + width, width) + 0.5;
  return Point{cell.south + y / kCellSteps * cell.height, cell.west + x / kCellSteps * cell.width};
}

// An entry as the walk found it: where its parts lie.
struct Entry {
  uint64_t at = 0;
  uint32_t geometry = 0;
  uint32_t attribute_count = 0;
  uint32_t vertex_count = 0;
  uint32_t altitudes = 0;  // kAltitudePerVertex or kAltitudePerEntry
  uint32_t form = 0;       // kPacked or kCompressed
  uint64_t points_at = 0;  // the packed numbers, or the compressed block from its forms
  uint32_t width = 0;      // of a packed number
  uint64_t points_size = 0;
  uint64_t altitudes_at = 0;
  uint64_t end = 0;
};

// Lays out the entry at `at` inside the block; false when its counts do not fit the block.
bool lay_out(const Record& block, uint64_t at, Entry& e) {
  const uint64_t end = block.size();
  if (at + kEntryHead > end) return false;
  e.at = at;
  e.geometry = block.u32(at + kGeometryAt);
  e.attribute_count = block.u16(at + kAttributeCountAt);
  const uint64_t count_at = at + kEntryHead + uint64_t{e.attribute_count} * 4;
  if (count_at + 6 > end) return false;
  e.vertex_count = block.u32(count_at);
  const uint64_t forms_at = count_at + 4;
  e.altitudes = block.u8(forms_at);
  e.form = block.u8(forms_at + 1);
  if (e.form == kPacked) {
    e.width = block.u8(forms_at + 2);
    if (e.width == 0 || e.width > 31) return false;
    e.points_at = forms_at + 3;
    e.points_size = (uint64_t{e.vertex_count} * 2 * e.width + 7) / 8;
  } else if (e.form == kCompressed) {
    if (forms_at + kCompressedHead > end) return false;
    e.points_at = forms_at;
    e.points_size = kCompressedHead + uint64_t{block.u32(forms_at + kCompressedHead - 4)};
  } else {
    return false;
  }
  e.altitudes_at = e.points_at + e.points_size;
  uint64_t altitude_count = 0;
  if (e.altitudes == kAltitudePerEntry) {
    altitude_count = 1;
  } else if (e.altitudes == kAltitudePerVertex) {
    altitude_count = e.vertex_count;
  } else {
    return false;
  }
  e.end = e.altitudes_at + altitude_count * 4;
  return e.end <= end;
}

class PolygonBlock {
 public:
  PolygonBlock(DecodeContext& ctx, const Record& block)
      : ctx_(ctx), block_(block), cell_(cell_of(block.u32(kCellAt))) {}

  void decode() {
    const uint64_t pool_size = block_.u32(kPoolSizeAt);
    if (kPoolAt + pool_size > block_.size()) {
      ctx_.report_malformed(block_.offset());
      return;
    }
    pool_end_ = kPoolAt + pool_size;
    uint64_t at = pool_end_;
    const uint32_t count = block_.u32(kEntryCountAt);
    for (uint32_t i = 0; i < count; ++i) {
      Entry e;
      if (!lay_out(block_, at, e)) {
        ctx_.report_malformed(block_.file_offset(at));
        return;
      }
      write_entry(e);
      at = e.end;
    }
  }

 private:
  // The pool attribute that the entry's reference `i` names; false when it lies outside the pool.
  bool attribute(const Entry& e, uint32_t i, PoolValue& v) const {
    const uint64_t at = kPoolAt + uint64_t{block_.u32(e.at + kEntryHead + uint64_t{i} * 4)};
    if (at + kPoolEntryHead > pool_end_) return false;
    v.at = at;
    v.size = block_.u32(at + 16);
    return at + kPoolEntryHead + v.size <= pool_end_;
  }

  // The entry's attribute with GUID `g`, when it has one.
  bool find(const Entry& e, const GuidBytes& g, PoolValue& v) const {
    for (uint32_t i = 0; i < e.attribute_count; ++i) {
      if (attribute(e, i, v) && same_guid(block_, v.at, g)) return true;
    }
    return false;
  }

  float altitude(const Entry& e, uint32_t i) const {
    return block_.f32(e.altitudes_at + (e.altitudes == kAltitudePerVertex ? uint64_t{i} * 4 : 0));
  }

  void write_entry(const Entry& e) {
    if (e.geometry == kPolygon) {
      write_polygon(e);
    } else if (e.geometry == kLine && e.vertex_count == 2 && e.form == kPacked) {
      write_rectangle(e);
    } else {
      write_dump(e, "dumping unknown polygon entry");
    }
  }

  void write_dump(const Entry& e, const char* what) {
    ctx_.out.format("\t<!-- %s, length: %d", what, static_cast<uint32_t>(e.end - e.at));
    write_hex_lines(ctx_.out, block_.bytes(e.at, e.end - e.at), false);
  }

  void write_value(const PoolValue& v, ValueType type) {
    Output& out = ctx_.out;
    const uint64_t value_at = v.at + kPoolEntryHead;
    out.write(" value=\"");
    switch (type) {
      case ValueType::kUint8:
        out.format("%u", block_.u8(value_at));
        break;
      case ValueType::kUint32:
        out.format("%u", block_.u32(value_at));
        break;
      case ValueType::kFloat32:
        out.format("%0.6lf", block_.f32(value_at));
        break;
      case ValueType::kGuid:
        write_registry_guid(out, block_, value_at);
        break;
      case ValueType::kString:
        write_escaped_text(out, block_.text(value_at, v.size));
        break;
    }
    out.write("\"");
  }

  // The type an attribute outside the table is written as, by the size of its value: numbers
  // keep their bytes as an unsigned number, whatever the author wrote them as.
  static bool type_by_size(uint32_t size, ValueType& type) {
    switch (size) {
      case 1:
        type = ValueType::kUint8;
        return true;
      case 4:
        type = ValueType::kUint32;
        return true;
      case 16:
        type = ValueType::kGuid;
        return true;
      default:
        return false;
    }
  }

  void write_attribute(const PoolValue& v, const char* name, ValueType type) {
    Output& out = ctx_.out;
    out.write("\t\t<Attribute");
    if (name != nullptr) out.format(" name=\"%s\"", name);
    out.write(" guid=\"");
    write_registry_guid(out, block_, v.at);
    out.format("\" type=\"%s\"", kTypeNames[static_cast<int>(type)]);
    write_value(v, type);
    out.write("/>\n");
  }

  void write_polygon(const Entry& e) {
    Output& out = ctx_.out;
    const DecodeOptions& o = ctx_.options;
    if (!o.terse)
      write_record_comment(out, "Polygon", static_cast<uint32_t>(block_.file_offset(e.at)));
    out.write("\t<Polygon");
    PoolValue v;
    uint32_t version = e.attribute_count;  // the attribute written as the version, if any
    for (uint32_t i = 0; i < e.attribute_count; ++i) {
      if (attribute(e, i, v) && same_guid(block_, v.at, kPolygonVersion) && is_text(v)) {
        version = i;
        out.write(" version=\"");
        write_escaped_text(out, block_.text(v.at + kPoolEntryHead, v.size));
        out.write("\"");
        break;
      }
    }
    out.format(" altitude=%s>\n", format_length(o, altitude(e, 0)));
    // Known attributes in the editor's order, then the others as the entry lists them.
    for (const KnownAttribute& known : kPolygonAttributes) {
      for (uint32_t i = 0; i < e.attribute_count; ++i) {
        if (attribute(e, i, v) && same_guid(block_, v.at, known.guid) &&
            value_fits(v, known.type)) {
          write_attribute(v, known.name, known.type);
        }
      }
    }
    for (uint32_t i = 0; i < e.attribute_count; ++i) {
      if (!attribute(e, i, v)) {
        ctx_.report_malformed(block_.file_offset(e.at));
        continue;
      }
      const KnownAttribute* known = find_known(v);
      if (known != nullptr && value_fits(v, known->type)) continue;
      if (i == version) continue;
      ValueType type = ValueType::kString;
      if (!type_by_size(v.size, type) && !is_text(v)) {
        out.format("\t\t<!-- attribute of %d bytes", v.size);
        write_hex_lines(out, block_.bytes(v.at, kPoolEntryHead + uint64_t{v.size}), false);
        continue;
      }
      write_attribute(v, nullptr, type);
    }
    if (e.form == kPacked) {
      // A last vertex that repeats the first closes the ring: the element lists each corner once.
      uint32_t corners = e.vertex_count;
      if (corners > 1 && packed_steps(e, corners - 1) == packed_steps(e, 0)) --corners;
      for (uint32_t i = 0; i < corners; ++i) {
        const Point p = packed_point(block_, cell_, e.points_at, e.width, i);
        out.format("\t\t<Vertex lat=\"%s\" lon=\"%s\"/>\n", format_coordinate(o, p.lat),
                   format_coordinate(o, p.lon));
      }
    } else if (compressed_.decode(block_, e.points_at + 2, e.vertex_count)) {
      write_compressed_vertices();
    } else {
      out.format("\t\t<!-- %d vertices in the compressed form, not decoded, length: %d",
                 e.vertex_count, static_cast<uint32_t>(e.points_size));
      write_hex_lines(out, block_.bytes(e.points_at, e.points_size), false);
    }
    out.write("\t</Polygon>\n");
  }

  // The decoded vertices at the middle of their steps, the closing repeat of the first left out.
  void write_compressed_vertices() {
    const std::vector<uint32_t>& x = compressed_.x();
    const std::vector<uint32_t>& y = compressed_.y();
    size_t corners = x.size();
    if (corners > 1 && x[corners - 1] == x[0] && y[corners - 1] == y[0]) --corners;
    for (size_t i = 0; i < corners; ++i) {
      const double lat = cell_.south + (y[i] + 0.5) / kCellSteps * cell_.height;
      const double lon = cell_.west + (x[i] + 0.5) / kCellSteps * cell_.width;
      ctx_.out.format("\t\t<Vertex lat=\"%s\" lon=\"%s\"/>\n", format_coordinate(ctx_.options, lat),
                      format_coordinate(ctx_.options, lon));
    }
  }

  // The x and y steps of packed vertex `i`, side by side.
  uint64_t packed_steps(const Entry& e, uint32_t i) const {
    const uint64_t bit = uint64_t{i} * 2 * e.width;
    return uint64_t{packed_bits(block_, e.points_at, bit, e.width)} << 32 |
           packed_bits(block_, e.points_at, bit + e.width, e.width);
  }

  const KnownAttribute* find_known(const PoolValue& v) const {
    for (const KnownAttribute& known : kPolygonAttributes) {
      if (same_guid(block_, v.at, known.guid)) return &known;
    }
    return nullptr;
  }

  // Text up to its first zero byte and only zero bytes after it.
  bool is_text(const PoolValue& v) const {
    const std::string_view bytes = block_.bytes(v.at + kPoolEntryHead, v.size);
    const size_t zero = bytes.find('\0');
    if (zero == std::string_view::npos || zero == 0) return false;
    return bytes.find_first_not_of('\0', zero) == std::string_view::npos;
  }

  void write_rectangle(const Entry& e) {
    Output& out = ctx_.out;
    const DecodeOptions& o = ctx_.options;
    if (!o.terse) {
      write_record_comment(out, "Rectangle", static_cast<uint32_t>(block_.file_offset(e.at)));
    }
    PoolValue v;
    out.write("\t<Rectangle");
    if (find(e, kRectangleWidth, v) && v.size == 4) {
      out.format(" width=%s", format_length(o, block_.f32(v.at + kPoolEntryHead)));
    }
    if (find(e, kFlattenFalloff, v) && v.size == 4) {
      out.format(" falloff=\"%0.6lf\"", block_.f32(v.at + kPoolEntryHead));
    }
    if (find(e, kRectangleSurface, v) && v.size == 16) {
      out.write(" surface=\"");
      write_registry_guid(out, block_, v.at + kPoolEntryHead);
      out.write("\"");
    }
    if (find(e, kLayer, v) && v.size == 4) {
      out.format(" priority=\"%d\"", block_.u32(v.at + kPoolEntryHead));
    }
    if (find(e, kPreciseTerraforming, v) && v.size == 1) {
      out.format(" precision=\"%s\"", true_false(block_.u8(v.at + kPoolEntryHead) != 0));
    }
    const Point a = packed_point(block_, cell_, e.points_at, e.width, 0);
    const Point b = packed_point(block_, cell_, e.points_at, e.width, 1);
    out.format("\n\t\tlatitude=\"%s\" longitude=\"%s\" altitude=%s", format_coordinate(o, a.lat),
               format_coordinate(o, a.lon), format_length(o, altitude(e, 0)));
    out.format("\n\t\tlatitude2=\"%s\" longitude2=\"%s\" altitude2=%s", format_coordinate(o, b.lat),
               format_coordinate(o, b.lon), format_length(o, altitude(e, 1)));
    const bool has_deformations = find(e, kDeformations, v) && v.size >= kDeformationSize;
    PoolValue map;
    const bool has_map = find(e, kHeightmap, map) && map.size >= kHeightmapHead;
    if (!has_deformations && !has_map) {
      out.write("/>\n");
      return;
    }
    out.write(">\n");
    if (has_deformations) {
      for (uint32_t i = 0; i + kDeformationSize <= v.size; i += kDeformationSize) {
        const uint64_t at = v.at + kPoolEntryHead + i;
        out.format("\t\t<RunwayDeformation alt=%s ratio=\"%0.6lf\"/>\n",
                   format_length(o, block_.f32(at)), block_.f32(at + 4));
      }
    }
    if (has_map) write_heightmap(map);
    out.write("\t</Rectangle>\n");
  }

  void write_heightmap(const PoolValue& map) {
    Output& out = ctx_.out;
    const uint64_t at = map.at + kPoolEntryHead;
    const uint32_t width = block_.u16(at);
    const uint64_t heights = uint64_t{width} * block_.u16(at + 2);
    // Heights that the value's size does not hold are not written, and the damage is reported.
    const uint64_t room = (map.size - kHeightmapHead) / 2;
    if (heights > room) ctx_.report_malformed(block_.file_offset(map.at));
    const uint64_t count = heights < room ? heights : room;
    const double lowest = block_.f32(at + 4);
    const double span = block_.f32(at + 8) - lowest;
    out.format("\t\t<Heightmap width=\"%u\" data=\"", width);
    for (uint64_t i = 0; i < count; ++i) {
      if (i != 0) out.write(" ");
      out.format("%0.6lf", lowest + block_.u16(at + kHeightmapHead + i * 2) / kHeightSteps * span);
    }
    out.write("\"/>\n");
  }

  DecodeContext& ctx_;
  const Record& block_;
  Cell cell_;
  uint64_t pool_end_ = 0;
  CompressedPoints compressed_;
};

// An MSFS block: record count 1, or (a file of polygons alone) an attribute pool that holds an
// attribute of the scenery editor's polygons with a value of its type. The terrain vectors of the
// older simulators have record count 0 and attributes of their own (and the GUID of `UniqueGUID`
// without a value).
bool is_polygon_block(const Record& block, uint32_t record_count) {
  if (record_count != 0) return true;
  const uint64_t pool_end = kPoolAt + uint64_t{block.u32(kPoolSizeAt)};
  for (uint64_t at = kPoolAt; at + kPoolEntryHead <= pool_end && block.holds(at, kPoolEntryHead);
       at += kPoolEntryHead + uint64_t{block.u32(at + 16)}) {
    const PoolValue v{at, block.u32(at + 16)};
    for (const KnownAttribute& known : kPolygonAttributes) {
      if (same_guid(block, at, known.guid) && value_fits(v, known.type)) return true;
    }
  }
  return false;
}

}  // namespace

bool has_polygon_blocks(const Image& image, const SectionEntry& section) {
  constexpr uint32_t kSubsectionEntrySize = 16;
  for (uint32_t i = 0; i < section.subsection_count; ++i) {
    const uint64_t at =
        uint64_t{section.subsection_table_offset} + uint64_t{i} * kSubsectionEntrySize;
    if (!image.contains(at, kSubsectionEntrySize)) return false;
    const Record block(image, image.u32(at + 8), image.u32(at + 12));
    if (is_polygon_block(block, image.u32(at + 4))) return true;
  }
  return false;
}

void decode_polygons(DecodeContext& ctx, const SubsectionRun& run) {
  if (!is_polygon_block(Record(ctx.image, run.data_offset, run.data_size), run.record_count)) {
    return;
  }
  Record block;
  if (!record_at(ctx, ctx.image, run.data_offset, run.data_size, kHeaderSize, block)) return;
  block.name_kind("Polygon");
  PolygonBlock(ctx, block).decode();
}

}  // namespace terrova
