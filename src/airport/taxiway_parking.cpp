// TaxiwayParking sub-records (0x1B, and 0x3D with 16 more bytes in each entry):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  entry count: 0 leaves the sub-record unwritten; otherwise the entries fill it
//   +8       entries of 20 + 4n bytes (0x1B) or 36 + 4n bytes (0x3D):
//              +0  u8  bits 0-5 name code, bits 6-7 push-back code
//              +1  u16 bits 0-3 parking type code, bits 4-15 parking number
//              +3  u8  airline-code count n
//              +4  f32 radius, metres
//              +8  f32 heading, degrees
//              +12     0x3D only: 16 bytes, not decoded
//              +12 u32 longitude, packed (+28 in 0x3D)
//              +16 u32 latitude, packed (+32 in 0x3D)
//              +20     n airline codes of 4 characters, NUL-padded (+36 in 0x3D)
// TaxiwayParking sub-record of the later form (0xAD): entries of 40 + 4n bytes, the 0x3D entry
// whose 16 bytes at +12 are known, and an altitude:
//              +12 f32 tee offsets 1-4, metres, 4 of them
//              +28 u32 longitude, packed
//              +32 u32 latitude, packed
//              +36 s32 altitude, millimetres
//              +40     n airline codes
#include <iterator>

#include "airport/taxiway.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kExtendedId = 0x3D;
constexpr uint16_t kLaterId = 0xAD;
constexpr uint32_t kTeeOffsetsAt = 12;
constexpr uint32_t kLaterAltitudeAt = 36;
constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kAirlineCodeSize = 4;
constexpr const char* kParkingNames[] = {"NONE",      "PARKING",    "N_PARKING", "NE_PARKING",
                                         "E_PARKING", "SE_PARKING", "S_PARKING", "SW_PARKING",
                                         "W_PARKING", "NW_PARKING", "GATE",      "DOCK"};
constexpr const char* kPushBacks[] = {"NONE", "LEFT", "RIGHT", "BOTH"};
constexpr const char* kParkingTypes[] = {"NONE",           "RAMP_GA",         "RAMP_GA_SMALL",
                                         "RAMP_GA_MEDIUM", "RAMP_GA_LARGE",   "RAMP_CARGO",
                                         "RAMP_MIL_CARGO", "RAMP_MIL_COMBAT", "GATE_SMALL",
                                         "GATE_MEDIUM",    "GATE_HEAVY",      "DOCK_GA",
                                         "FUEL",           "VEHICLE"};

// Every name fits its text with the terminating zero: "NE_PARKING" is the longest.
constexpr bool names_fit() {
  for (const char* name : kParkingNames) {
    if (std::string_view(name).size() >= sizeof(ParkingNameText::text)) return false;
  }
  return true;
}
static_assert(names_fit());

}  // namespace

ParkingNameText parking_name(uint32_t code) {
  ParkingNameText t;
  if (code < std::size(kParkingNames)) {
    const std::string_view s = kParkingNames[code];
    s.copy(t.text, s.size());
    return t;
  }
  // Codes past the named ones are gate letters: 12 is GATE_A, 37 GATE_Z, and the six bits go on
  // through the characters after Z.
  const std::string_view gate = "GATE_";
  gate.copy(t.text, gate.size());
  t.text[gate.size()] = static_cast<char>((code & 63) + 53);
  return t;
}

EnumText push_back_name(uint32_t code) { return EnumText(kPushBacks, code); }
EnumText parking_type_name(uint32_t code) { return EnumText(kParkingTypes, code); }

TaxiwayParkingFields read_parking_entry_head(const Record& record, uint64_t at) {
  TaxiwayParkingFields f;
  const uint32_t kind = record.u8(at);
  const uint32_t type_and_number = record.u16(at + 1);
  f.name_code = kind & 63;
  f.push_back = kind >> 6;
  f.type = type_and_number & 15;
  f.number = type_and_number >> 4;
  f.radius = record.f32(at + 4);
  f.heading = record.f32(at + 8);
  return f;
}

void write_taxiway_parking(DecodeContext& ctx, const char* name, uint32_t index,
                           const TaxiwayParkingFields& f) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  if (ctx.geometry != nullptr) {
    ParkingShape shape;
    shape.position = {decode_latitude(f.lat), decode_longitude(f.lon)};
    shape.radius = f.radius;
    shape.heading = f.heading;
    shape.name_code = f.name_code;
    shape.number = f.number;
    shape.type = f.type;
    ctx.geometry->parking(index, shape);
  }
  out.format("\t\t<%s pushBack=\"", name);
  out.write(push_back_name(f.push_back));
  out.format("\" lat=\"%s\" lon=\"%s\"\n", format_coordinate(o, decode_latitude(f.lat)),
             format_coordinate(o, decode_longitude(f.lon)));
  out.format("\t\t\theading=\"%0.2lf\" radius=\"%.2lf\" name=\"", static_cast<double>(f.heading),
             static_cast<double>(f.radius));
  out.write(parking_name(f.name_code));
  out.write("\" type=\"");
  out.write(f.type_name != nullptr ? std::string_view(f.type_name) : parking_type_name(f.type));
  out.write("\"\n");
  const bool airlines = f.airline_count != 0 && f.record != nullptr;
  // The later attributes go before the line that closes the start tag: the airline codes when
  // there are any, else the number.
  if (!airlines) write_later_attributes(ctx, "\t\t\t", f.later);
  out.format("\t\t\tnumber=\"%d\" index=\"%lu\"", f.number, index);
  if (airlines) {
    out.put('\n');
    write_later_attributes(ctx, "\t\t\t", f.later);
    out.write("\t\t\tairlineCodes=\"");
    for (uint32_t i = 0; i < f.airline_count; ++i) {
      if (i != 0) out.put(',');
      write_escaped_text(
          out, f.record->text(f.airline_at + uint64_t{i} * kAirlineCodeSize, kAirlineCodeSize));
    }
    out.put('"');
  }
}

void decode_taxiway_parking(DecodeContext& ctx, const char* name, const Record& record,
                            RecordWalk&) {
  if (record.u16(6) == 0) return;
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const bool later = record.id() == kLaterId;
  const uint32_t skipped = record.id() == kExtendedId || later ? 16 : 0;
  const uint32_t fixed = 20 + skipped + (later ? 4 : 0);
  uint32_t index = 0;
  uint64_t at = kEntriesAt;
  do {
    const uint32_t airlines = record.u8(at + 3);
    const uint64_t length = fixed + uint64_t{airlines} * kAirlineCodeSize;
    // An entry that does not fit, airline codes included, ends the list.
    if (!record.holds(at, length)) {
      ctx.report_malformed(record.offset());
      return;
    }
    TaxiwayParkingFields f = read_parking_entry_head(record, at);
    f.lon = record.i32(at + 12 + skipped);
    f.lat = record.i32(at + 16 + skipped);
    f.record = &record;
    f.airline_at = static_cast<uint32_t>(at + fixed);
    f.airline_count = airlines;
    if (later) {
      for (uint32_t i = 0; i < 4; ++i)
        f.later.tee_offsets[i] = record.f32(at + kTeeOffsetsAt + 4 * i);
      f.later.has_alt = true;
      f.later.alt_mm = record.i32(at + kLaterAltitudeAt);
    }
    write_taxiway_parking(ctx, name, index++, f);
    ctx.out.write(" />\n");
    at += length;
  } while (at < record.size());
}

}  // namespace terrova
