#include "driver/document.h"

#include "airport/airport.h"
#include "bgl/walker.h"
#include "driver/sections.h"

namespace terrova {

void write_document_head(Output& out, const platform::LocalTime& t) {
  out.format("<!--\n\tdecoded by terrova on %0.4d-%0.2d-%0.2d, %0.2d:%0.2d:%0.2d\n-->\n", t.year,
             t.month, t.day, t.hour, t.minute, t.second);
  out.write("<FSData version=\"9.0\" xmlns:xsi='");
  out.write("http://www.w3.org/2001/XMLSchema-instance");
  out.write("'\n xsi:noNamespaceSchemaLocation=\"bglcomp.xsd\" >\n\n");
}

uint32_t write_document(const Image& image, const DecodeOptions& options, SharedTables& tables,
                        const platform::LocalTime& time, Output& out,
                        const StringTable* object_names, ExtraFileSink* extra_files,
                        GeometryListener* geometry, FactsListener* facts) {
  out.set_text_encoding(file_text_encoding(image));
  write_document_head(out, time);
  DecodeContext ctx(image, options, out, tables);
  // Only the MSFS compilers store UTF-8 text, so the encoding also tells the dialect.
  ctx.msfs_document = out.text_encoding() == TextEncoding::kUtf8;
  ctx.object_names = object_names;
  ctx.extra_files = extra_files;
  ctx.geometry = geometry;
  ctx.facts = facts;
  walk_sections(ctx, section_kinds());
  out.write("</FSData>\n");
  out.flush();
  return ctx.malformed_count;
}

}  // namespace terrova
