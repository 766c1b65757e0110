// How the texts of a file are read. The MSFS compilers store the author's text as it is, in
// UTF-8; the FS2004, FSX and Prepar3D compilers store Windows-1252. Nothing in the file header
// tells the two apart; the airport record does: 0x56 (MSFS 2020) and 0x113 (MSFS 2024) are
// written only by the MSFS compilers. A file is read as UTF-8 when any record of its airport
// sections has one of those ids, whatever sections it holds besides.
//
// The name list, navaids, waypoints and scenery objects lie in sections of higher type, which
// the walk writes before the airports, and the name list may come before the airports in the
// file too: so the ids are looked at before the walk, from the record headers alone.
#include "airport/airport.h"

namespace terrova {
namespace {

constexpr uint32_t kAirportSection = 3;
constexpr uint16_t kMsfs2020AirportId = 0x56;
constexpr uint16_t kMsfs2024AirportId = 0x113;

bool is_msfs_airport_id(uint16_t id) {
  return id == kMsfs2020AirportId || id == kMsfs2024AirportId;
}

}  // namespace

TextEncoding file_text_encoding(const Image& image) {
  return has_record_in_sections(image, kAirportSection, is_msfs_airport_id)
             ? TextEncoding::kUtf8
             : TextEncoding::kWindows1252;
}

}  // namespace terrova
