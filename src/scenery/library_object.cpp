// Library object, kind data of scenery objects of kinds 2 and 11:
//   +0  4 x u32  object GUID
//   +16 f32      scale
//   +20 u16      attachment marker: 0x1000 or 0x1002 when an attached object follows
// With an attachment (the block takes the attachment length + 28 bytes of kind data):
//   +26 u16      attachment length
//   +30 u16      attached object pitch   } units of 360/65536 degree, for both markers
//   +32 u16      attached object bank    }
//   +34 u16      attached object heading }
//   +48 u8       beacon code               (+68 with marker 0x1002)
//   +52 text     attach point name, NUL-terminated (+72 with marker 0x1002)
#include "format/xml.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr double kAngleUnit = 0.0054931640625;  // 360/65536 degree

// A code without a row counts as a civilian airport beacon.
constexpr BeaconType kCivilianAirport = {0, "CIVILIAN", "AIRPORT"};

const BeaconType& find_beacon(uint8_t code) {
  const BeaconType* beacon = find_beacon_type(code);
  return beacon != nullptr ? *beacon : kCivilianAirport;
}

void write_hex8(char* to, uint32_t word) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (int i = 7; i >= 0; --i) {
    to[i] = kHex[word & 15];
    word >>= 4;
  }
}

}  // namespace

GuidText guid_text(const Record& record, uint64_t at) {
  GuidText text{};
  for (unsigned i = 0; i < 4; ++i) write_hex8(text.digits + 8 * i, record.u32(at + 4 * i));
  text.digits[32] = 0;
  return text;
}

uint32_t decode_library_object(DecodeContext& ctx, const char* name, const Record& kind_data) {
  Output& out = ctx.out;
  const GuidText guid = guid_text(kind_data, 0);
  if (ctx.object_names != nullptr) {
    int index = 0;
    if (table_find(*ctx.object_names, guid.str(), index) &&
        !(*ctx.object_names)[index].name.empty()) {
      out.write("\t\t<!-- Object ");
      // Names file text, whatever the input file's text encoding.
      write_comment_text(out, (*ctx.object_names)[index].name, TextEncoding::kWindows1252);
      out.write(" -->\n");
    }
  }
  out.format("\t\t<%s name=\"%s\" scale=\"%0.2lf\" />\n", name, guid.str(),
             static_cast<double>(kind_data.f32(16)));

  const uint32_t marker = kind_data.u16(20);
  if (marker != 0x1000 && marker != 0x1002) return kind_data.size();
  const uint32_t length = kind_data.u16(26) + 28u;
  if (!record_holds(ctx, kind_data, length)) return kind_data.size();
  // The attachment block bounds what is read of it: a name without its zero byte ends there.
  const Record attachment = kind_data.part(0, length);
  const uint32_t shift = marker == 0x1002 ? 20 : 0;
  const BeaconType& beacon = find_beacon(attachment.u8(48 + shift));

  out.write("\t\t\t<AttachedObject attachpointName=");
  write_quoted_text(out, attachment.text(52 + shift, length));
  out.write("\n");
  out.format("\t\t\t\tpitch=\"%0.2lf\" bank=\"%0.2lf\" heading=\"%0.2lf\">\n",
             attachment.u16(30) * kAngleUnit, attachment.u16(32) * kAngleUnit,
             attachment.u16(34) * kAngleUnit);
  out.format("\t\t\t\t<Beacon type=\"%s\" baseType=\"%s\" />\n", beacon.type, beacon.base_type);
  out.write("\t\t\t</AttachedObject>\n");
  return length;
}

}  // namespace terrova
