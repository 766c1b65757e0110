// Generic building, kind data of scenery objects of kinds 1 and 10:
//   +0  f32  scale
//   +4  4 bytes, not read
//   +8  u16  building type: 4 FLAT, 7 PEAKED, 6 RIDGE, 8 SLANT (rectangular), 9 pyramidal,
//            10 multi-sided; other types have no layout
//   +10 u16 words w0, w1, ... laid out by building type (the last word of each layout is not
//       read). The kind data described is 48 (FLAT), 52 (PEAKED), 56 (RIDGE), 62 (SLANT),
//       52 (pyramidal) or 46 (multi-sided) bytes.
// Rectangular buildings share w0-w17: sizeX, sizeZ, bottomTexture, sizeBottomY,
// textureIndexBottomX, textureIndexBottomZ, windowTexture, sizeWindowY, textureIndexWindowX,
// textureIndexWindowY, textureIndexWindowZ, topTexture, sizeTopY, textureIndexTopX,
// textureIndexTopZ, roofTexture, textureIndexRoofX, textureIndexRoofZ; then PEAKED: w18 sizeRoofY,
// w19 textureIndexRoofY; RIDGE: w18 sizeRoofY, w19 textureIndexGableY, w20 gableTexture,
// w21 textureIndexGableZ; SLANT: as RIDGE, then w22 faceTexture, w23 textureIndexFaceX,
// w24 textureIndexFaceY.
// Pyramidal: w0 sizeX, w1 sizeZ, w2 sizeTopX, w3 sizeTopZ, w4 bottomTexture, w5 sizeBottomY,
// w6 textureIndexBottomX, w7 textureIndexBottomZ, w8 windowTexture, w9 sizeWindowY,
// w10-w12 textureIndexWindowX/Y/Z, w13 topTexture, w14 sizeTopY, w15 textureIndexTopX,
// w16 textureIndexTopZ, w17 roofTexture, w18 textureIndexRoofX, w19 textureIndexRoofZ.
// Multi-sided: w0 buildingSides, w1 sizeX, w2 sizeZ, w3 bottomTexture, w4 sizeBottomY,
// w5 textureIndexBottomX, w6 windowTexture, w7 sizeWindowY, w8 textureIndexWindowX,
// w9 textureIndexWindowY, w10 topTexture, w11 sizeTopY, w12 textureIndexTopX, w13 roofTexture,
// w14 sizeRoofY, w15 textureIndexRoofX, w16 textureIndexRoofZ.
#include <span>

#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kWords = 10;  // offset of w0

// One attribute line of the building element: its name and the word it shows.
struct Attribute {
  const char* name;
  uint8_t word;
};

// The layout of one building type.
struct BuildingLayout {
  uint16_t type;
  const char* start;      // the start line of the building element
  const char* roof_type;  // rectangular buildings only
  uint32_t length;        // the kind data described
  uint8_t bottom_texture, roof_texture, top_texture, window_texture;
  std::span<const Attribute> attributes;
};

constexpr Attribute kRectangularShared[] = {
    {"sizeX",               0 },
    {"sizeZ",               1 },
    {"sizeBottomY",         3 },
    {"textureIndexBottomX", 4 },
    {"textureIndexBottomZ", 5 },
    {"sizeWindowY",         7 },
    {"textureIndexWindowX", 8 },
    {"textureIndexWindowY", 9 },
    {"textureIndexWindowZ", 10},
    {"sizeTopY",            12},
    {"textureIndexTopX",    13},
    {"textureIndexTopZ",    14},
    {"textureIndexRoofX",   16},
    {"textureIndexRoofZ",   17},
};
constexpr Attribute kPeaked[] = {
    {"sizeRoofY",         18},
    {"textureIndexRoofY", 19}
};
// The gable attributes are written in the order texture, Y, Z; the record stores Y, texture, Z.
constexpr Attribute kRidge[] = {
    {"sizeRoofY",          18},
    {"gableTexture",       20},
    {"textureIndexGableY", 19},
    {"textureIndexGableZ", 21}
};
constexpr Attribute kSlant[] = {
    {"sizeRoofY",          18},
    {"gableTexture",       20},
    {"textureIndexGableY", 19},
    {"textureIndexGableZ", 21},
    {"faceTexture",        22},
    {"textureIndexFaceX",  23},
    {"textureIndexFaceY",  24}
};
constexpr Attribute kPyramidal[] = {
    {"sizeX",               0 },
    {"sizeZ",               1 },
    {"sizeTopX",            2 },
    {"sizeTopZ",            3 },
    {"sizeBottomY",         5 },
    {"textureIndexBottomX", 6 },
    {"textureIndexBottomZ", 7 },
    {"sizeWindowY",         9 },
    {"textureIndexWindowX", 10},
    {"textureIndexWindowY", 11},
    {"textureIndexWindowZ", 12},
    {"sizeTopY",            14},
    {"textureIndexTopX",    15},
    {"textureIndexTopZ",    16},
    {"textureIndexRoofX",   18},
    {"textureIndexRoofZ",   19},
};
constexpr Attribute kMultiSided[] = {
    {"buildingSides",       0 },
    {"sizeX",               1 },
    {"sizeZ",               2 },
    {"sizeBottomY",         4 },
    {"textureIndexBottomX", 5 },
    {"sizeWindowY",         7 },
    {"textureIndexWindowX", 8 },
    {"textureIndexWindowY", 9 },
    {"sizeTopY",            11},
    {"textureIndexTopX",    12},
    {"sizeRoofY",           14},
    {"textureIndexRoofX",   15},
    {"textureIndexRoofZ",   16},
};

constexpr const char* kRectangular = "\t\t\t<RectangularBuilding\n";
constexpr BuildingLayout kLayouts[] = {
    {4,  kRectangular,                  "FLAT",   48, 2, 15, 11, 6, {}     },
    {7,  kRectangular,                  "PEAKED", 52, 2, 15, 11, 6, kPeaked},
    {6,  kRectangular,                  "RIDGE",  56, 2, 15, 11, 6, kRidge },
    {8,  kRectangular,                  "SLANT",  62, 2, 15, 11, 6, kSlant },
    {9,  "\t\t\t<PyramidalBuilding\n",  nullptr,  52, 4, 17, 13, 8, {}     },
    {10, "\t\t\t<MultiSidedBuilding\n", nullptr,  46, 3, 13, 10, 6, {}     },
};

const BuildingLayout* find_layout(uint32_t type) {
  for (const BuildingLayout& layout : kLayouts) {
    if (layout.type == type) return &layout;
  }
  return nullptr;
}

uint32_t word(const Record& kind_data, uint32_t index) { return kind_data.u16(kWords + 2 * index); }

void write_attributes(Output& out, const Record& kind_data, std::span<const Attribute> attributes,
                      bool last_group) {
  for (size_t i = 0; i < attributes.size(); ++i) {
    out.format("\t\t\t\t%s=\"%d\"", attributes[i].name, word(kind_data, attributes[i].word));
    out.write(last_group && i + 1 == attributes.size() ? " />\n" : "\n");
  }
}

}  // namespace

uint32_t decode_generic_building(DecodeContext& ctx, const char* name, const Record& kind_data) {
  Output& out = ctx.out;
  const uint32_t type = kind_data.u16(8);
  const BuildingLayout* layout = find_layout(type);
  if (layout != nullptr && !record_holds(ctx, kind_data, layout->length)) {
    return kind_data.size();
  }

  out.format("\t\t<%s scale=\"%0.2lf\"", name, static_cast<double>(kind_data.f32(0)));
  if (layout == nullptr) {
    // No layout to read: the element says so, and the walk goes on at the next record.
    out.format(" >\n\t\t\t<!-- unknown building type %d -->\n\t\t</%s>\n", type, name);
    return kind_data.size();
  }
  out.format(
      " bottomTexture=\"%d\"\n\t\t\troofTexture=\"%d\" topTexture=\"%d\" windowTexture=\"%d\" >\n",
      word(kind_data, layout->bottom_texture), word(kind_data, layout->roof_texture),
      word(kind_data, layout->top_texture), word(kind_data, layout->window_texture));
  if (type == 10) {
    out.write(
        "\t\t\t<!-- WARNING: \"textureIndexRoofY\" and \"smoothing\" are ignored\n\t\t\t\t(do not "
        "compare in BGL files), although required by BglComp -->\n");
  }
  out.write(layout->start);
  if (layout->roof_type != nullptr) {
    out.format("\t\t\t\troofType=\"%s\"\n", layout->roof_type);
    write_attributes(out, kind_data, kRectangularShared, layout->attributes.empty());
    write_attributes(out, kind_data, layout->attributes, true);
  } else if (type == 9) {
    write_attributes(out, kind_data, kPyramidal, true);
  } else {
    write_attributes(out, kind_data, kMultiSided, false);
    out.write("\t\t\t\ttextureIndexRoofY=\"256\"\n\t\t\t\tsmoothing=\"TRUE\" />\n");
  }
  out.format("\t\t</%s>\n", name);
  return layout->length;
}

}  // namespace terrova
