// Projected mesh sub-record of MSFS (0xE8): a library object draped on the ground. Checked against
// the author's source (30 records of one airport, every field below paired by object):
//   +6  u8   priority
//   +7  u8   surface code: the older surface codes (4 ASPHALT), and 32 PAINT
//   +8  u32  drawing word: 0x15 drawOrder="TAXIWAY", 0x1F drawOrder="RUNWAY", both with
//            groundMerging="TRUE" (the only values seen; the bits of the two attributes are not
//            settled, so another word is written as the drawOrder number without groundMerging)
//   +12 u16  size L of the object
//   +14      the object, a scenery object of L bytes (a library object, kind 0x0B, in every record)
//   then padding to a multiple of 4
#include "airport/msfs_later_records.h"
#include "format/values.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr uint32_t kPriorityAt = 6;
constexpr uint32_t kSurfaceAt = 7;
constexpr uint32_t kDrawingAt = 8;
constexpr uint32_t kObjectSizeAt = 12;
constexpr uint32_t kObjectAt = 14;
constexpr uint32_t kPaintSurface = 32;

struct DrawingWord {
  uint32_t word;
  const char* draw_order;
  bool ground_merging;
};
constexpr DrawingWord kDrawingWords[] = {
    {0x15, "TAXIWAY", true},
    {0x1F, "RUNWAY",  true},
};

const DrawingWord* find_drawing_word(uint32_t word) {
  for (const DrawingWord& d : kDrawingWords) {
    if (d.word == word) return &d;
  }
  return nullptr;
}

EnumText mesh_surface_name(uint32_t code) {
  return code == kPaintSurface ? EnumText("PAINT") : surface_name(code);
}

}  // namespace

void decode_msfs_projected_mesh(DecodeContext& ctx, const char* name, const Record& record,
                                RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t word = record.u32(kDrawingAt);
  const DrawingWord* drawing = find_drawing_word(word);
  ctx.out.format("\t\t<%s priority=\"%d\" drawOrder=\"%s\" surface=\"%s\"", name,
                 record.u8(kPriorityAt),
                 drawing != nullptr ? EnumText(drawing->draw_order) : EnumText::number(word),
                 mesh_surface_name(record.u8(kSurfaceAt)));
  if (drawing != nullptr) {
    ctx.out.format("\n\t\t\tgroundMerging=\"%s\"", true_false(drawing->ground_merging));
  }
  ctx.out.write(">\n");
  uint32_t length = record.u16(kObjectSizeAt);
  // A size that reaches past the record is reported; the object is then bounded by its own size,
  // and written when that fits.
  if (!record.holds(kObjectAt, length)) {
    ctx.report_malformed(record.offset());
    length = record.u16(kObjectAt + 2);
  }
  write_scenery_objects(ctx, record.part(kObjectAt, length));
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
