// The run context handed to every decoder: the image, the options, the output sink and the
// shared tables of one decode. Nothing of a decode lives in globals, so several files can be
// decoded in one process and each decoder can be tested on its own.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "bgl/facts.h"
#include "bgl/geometry.h"
#include "bgl/image.h"
#include "bgl/tables.h"
#include "text/output.h"

namespace terrova {

class Record;

// The settings of a run, filled from the command line.
struct DecodeOptions {
  bool degrees_minutes = false;           // -d: degrees and decimal minutes
  bool terse = false;                     // -t: no diagnostic comments
  bool feet = false;                      // -f: altitudes and lengths in feet
  bool nautical_miles = false;            // -m: ranges in nautical miles
  bool plan = false;                      // -p: an SVG plan of each airport
  bool circle_enabled = false;            // partial decoding is active
  bool unread_report = false;             // -u: list the bytes no decoder read
  uint32_t radius_km = 0;                 // -r
  const char* center_lat_text = nullptr;  // -n
  const char* center_lon_text = nullptr;  // -e
  double radius_m = 0;
  double center_lat = 0;
  double center_lon = 0;
};

// Receives the extra files that a decode writes beside its document (model files): the file
// name, without a folder, and the bytes. The receiver reports its own failures and returns 0 or
// the error code; a failed file does not end the decode.
struct ExtraFileSink {
  int (*write)(void* context, std::string_view name, std::string_view bytes) = nullptr;
  void* context = nullptr;
  // Which copy of the name the file named `name` is written as: 1, the name itself; n > 1, the
  // name with "_n" before its extension (another input of a folder run left a different file of
  // that name in the same folder). nullptr: always 1.
  uint32_t (*copy_of)(void* context, std::string_view name) = nullptr;
};

// The helipad objects of the airport being decoded (defined by the airport decoders).
struct HelipadObjects;
struct MsfsRunwayStarts;

struct DecodeContext {
  DecodeContext(Image image_, const DecodeOptions& options_, Output& out_, SharedTables& tables_)
      : image(image_), options(options_), out(out_), tables(tables_) {}

  // Writes the warning comment for a damaged structure at `offset` on a line of its own (with
  // or without -t) and counts it for the closing console line.
  void report_malformed(uint64_t offset);

  Image image;
  const DecodeOptions& options;
  Output& out;
  SharedTables& tables;
  uint32_t malformed_count = 0;
  // The file holds MSFS airports (its text is read as UTF-8, which only the MSFS compilers write):
  // the records outside airports that both dialects write take the MSFS schema's names.
  bool msfs_document = false;
  // The id of the airport record whose sub-records are being decoded: some sub-records of the
  // later airport form (0xAB) differ from those of the older ones.
  uint16_t airport_id = 0;
  // The airport record whose sub-records are being decoded, for the sub-records that look up
  // their neighbours (the starts and runways of an MSFS airport); nullptr outside an airport.
  const Record* airport = nullptr;
  // The runway ends and runway starts of an MSFS airport, found once per airport; nullptr
  // outside MSFS airports.
  const MsfsRunwayStarts* runway_starts = nullptr;
  // The file offset of the sub-record whose values the airport's start tag took (the MSFS
  // ground-merging record), so that its own row writes nothing more; offsets are unique in a file,
  // so the value of an earlier airport matches no record of a later one.
  uint64_t start_tag_subrecord = UINT64_MAX;
  // Which helipad of that airport holds which helipad object; nullptr outside airports.
  HelipadObjects* helipad_objects = nullptr;
  // The names of library objects by GUID text, read once from the names file by the driver and
  // shared read-only by every decode of a run; nullptr when there is none.
  const StringTable* object_names = nullptr;
  // Where model files go; nullptr writes none (tests, benchmarks).
  ExtraFileSink* extra_files = nullptr;
  // Receives the ground layout of each airport (the plans of -p); nullptr when nothing does.
  GeometryListener* geometry = nullptr;
  // Receives what each record defines, deletes and hides (the library index); nullptr when
  // nothing does.
  FactsListener* facts = nullptr;
  // The positions of an outline on its way to `geometry`, kept from one record to the next so
  // that the outlines of a file do not allocate each.
  std::vector<GeoPoint> outline;
};

}  // namespace terrova
