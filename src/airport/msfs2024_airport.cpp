// Airport record of MSFS 2024 add-on airports (0x113), fixed part of 92 bytes. Its first 40 bytes
// are those of the 2020 form (msfs_airport.cpp):
//   +6  u8   runway count          +7  u8 com count        +8  u8 start count
//   +9  u8   approach count        +10 u8 apron count      +11 bits 0-6 helipad count, bit 7 a
//                                                              DeleteAirport sub-record follows
//   +12 u32  longitude, packed     +16 u32 latitude, packed +20 s32 altitude, millimetres
//   +24      12 bytes, zero (the tower is the 0x66 sub-record)
//   +36 f32  magnetic variation (KISM 5.0)
//   +53 u8   traffic scalar × 255 (255 in every file, whose sources all say 1.0)
//   +54 u8   KISM 1, KSUA 8, else 0; unlike the 2020 form, bit 0 is not `starAirport` (clear
//            in four files whose sources say starAirport="TRUE"); not read
//   +74 u16  1 in EDDN (coms and a DeleteAirport), else 0; not read
//   +76 u32  identifier: the number in bits 6-31, bits 0-5 are 1 in every file
//   every other byte, +40 to +52 and +80 to +91 included, is zero in the six files
// How sure: counts, position, magnetic variation and identifier checked against the authors'
// sources of six airports; +53 against one value only. `airportTestRadius`, `applyFlatten`,
// `isOnTIN`, `tinColorCorrection`, `starAirport` and the editor's group fields have no bytes
// that follow the sources: they are not written.
// Sub-records from +92 fill the record exactly, in the 2020 forms and order (DeleteAirport, name,
// tower, the rest), with one of their own, the helipad below.
//
// Every file holds one 8-byte 0xD4 sub-record, and every source an empty `AirportArchetype`; but
// those bytes (d4 00 08 00 00 00 00 00) are the 2020 taxiway path list with no path, which every
// 2020 airport holds too, those without paths included (OS73, K52I, SKAC, MERC: 8 bytes, count
// 0). So 0xD4 stays the taxiway path list, and the empty archetype, which no byte records, is
// not written.
//
// Helipad (0xFB), the 0x26 helipad (helipad.cpp) with its colour and 24 more bytes:
//   +6  u8   surface code          +7 u8 type code, bit 4 transparent, bit 5 closed
//   +8  u8   blue, +9 green, +10 red  (checked: 140/70/70 and 0/110/115 in KSUA's two helipads)
//   +11 u8   0 (the sources say alpha 255, override TRUE: neither is stored here)
//   +12 u32  longitude, packed     +16 u32 latitude, packed +20 s32 altitude, millimetres
//   +24 f32  length, +28 f32 width, metres   +32 f32 heading, degrees
//   +36      24 bytes, zero in both helipads (surface CONCRETE by its legacy code); not read
// Checked: every attribute of KSUA's two helipads; the colour is written as the `Coloration`
// child that the sources hold.
#include "airport/msfs_airport.h"
#include "airport/subrecords.h"

namespace terrova {
namespace {

constexpr uint32_t kMsfsIdentAt = 40;
constexpr uint32_t kMsfs2024IdentAt = 76;
constexpr uint32_t kHelipadBlueAt = 8;
constexpr uint32_t kHelipadGreenAt = 9;
constexpr uint32_t kHelipadRedAt = 10;

}  // namespace

uint32_t stored_airport_ident_word(const Record& airport) {
  return airport.u32(airport.id() == kMsfs2024AirportId ? kMsfs2024IdentAt : kMsfsIdentAt);
}

uint32_t airport_ident_word(const Record& airport) {
  const uint32_t word = stored_airport_ident_word(airport);
  return airport.id() == kMsfs2024AirportId ? word >> 1 : word;
}

void decode_msfs2024_helipad(DecodeContext& ctx, const char* name, const Record& record,
                             RecordWalk&) {
  write_helipad_start(ctx, name, record);
  ctx.out.write(">\n");
  ctx.out.format("\t\t\t<Coloration red=\"%u\" green=\"%u\" blue=\"%u\" />\n",
                 record.u8(kHelipadRedAt), record.u8(kHelipadGreenAt), record.u8(kHelipadBlueAt));
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
