// The `PaintedElements` container of MSFS airports. The compiler stores an airport's painted
// lines (0xCF) and hatched areas (0xD8) as a run of consecutive sub-records, lines first; the
// run is written as one container. The schema wants the lines of a container before its hatched
// areas, so a line that follows a hatched area opens a new container.
#include "airport/painted_elements.h"

#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kPaintedLineId = 0xCF;
constexpr uint16_t kHatchedAreaId = 0xD8;
constexpr uint32_t kPaintedLineSize = 28;  // the bytes before the vertices
constexpr uint32_t kHatchedAreaSize = 20;

bool is_painted_element(uint16_t id) { return id == kPaintedLineId || id == kHatchedAreaId; }

void write_element(DecodeContext& ctx, const Record& record) {
  if (record.id() == kPaintedLineId) {
    if (!record_holds(ctx, record, kPaintedLineSize)) return;
    if (!ctx.options.terse) write_record_comment(ctx.out, "PaintedLine", record.offset());
    write_painted_line(ctx, read_painted_line(record));
  } else {
    if (!record_holds(ctx, record, kHatchedAreaSize)) return;
    if (!ctx.options.terse) write_record_comment(ctx.out, "PaintedHatchedArea", record.offset());
    write_painted_hatched_area(ctx, read_painted_hatched_area(record));
  }
}

}  // namespace

void decode_painted_elements(DecodeContext& ctx, const char*, const Record& record,
                             RecordWalk& siblings) {
  ctx.out.write("\t\t<PaintedElements>\n");
  write_element(ctx, record);
  uint16_t last = record.id();
  uint16_t id = 0;
  Record next;
  // A damaged sibling ends the airport's walk, and with it the container.
  while (siblings.peek_id(id) && is_painted_element(id) && siblings.next(next)) {
    next.name_kind(id == kHatchedAreaId ? "PaintedHatchedArea" : "PaintedLine");
    if (last == kHatchedAreaId && id == kPaintedLineId) {
      ctx.out.write("\t\t</PaintedElements>\n\t\t<PaintedElements>\n");
    }
    write_element(ctx, next);
    last = id;
  }
  ctx.out.write("\t\t</PaintedElements>\n");
}

}  // namespace terrova
