// Taxiway signs inside their airport: each airport claims the pending sign records near it and
// writes their signs, from the entries that the scenery-object section read.
#include "airport/taxiway_sign.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "format/circle.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr double kClaimWindow = 0.5;     // degrees of latitude and of longitude
constexpr double kClaimDistance = 8000;  // metres
constexpr double kAngleUnit = 360.0 / 65536.0;

// The altitude and attitude of a sign of the later record kinds, one attribute a line.
void write_placement(DecodeContext& ctx, const SignEntry& e) {
  Output& out = ctx.out;
  out.format("\t\t\talt=%s\n", format_length(ctx.options, e.alt));
  out.format("\t\t\taltitudeIsAgl=\"%s\"\n", true_false((e.placement_flags & 1) != 0));
  out.format("\t\t\tpitch=\"%0.2lf\"\n", e.pitch * kAngleUnit);
  out.format("\t\t\tclampPitch=\"%s\"\n", true_false((e.placement_flags & 2) != 0));
  out.format("\t\t\tbank=\"%0.2lf\"\n", e.bank * kAngleUnit);
  out.format("\t\t\tclampBank=\"%s\"\n", true_false((e.placement_flags & 4) != 0));
}

}  // namespace

void claim_taxiway_signs(DecodeContext& ctx, double lat, double lon) {
  SharedTables& t = ctx.tables;
  // Only records in the cells around the airport can lie within half a degree of it; they are
  // taken in list order, as a scan of the whole list would take them.
  t.signs_by_cell.update(t.deferred_signs);
  for (uint32_t position : t.signs_by_cell.pending_near(lat, lon, kClaimWindow + 1e-6)) {
    DeferredSign& sign = t.deferred_signs[position];
    if (!(std::fabs(lat - sign.lat) < kClaimWindow)) continue;
    if (std::fabs(lon - sign.lon) < kClaimWindow) {
      // Taken even when too far to be written, so that no later airport writes it either.
      sign.pending = false;
      t.signs_by_cell.take(position);
      if (great_circle_distance(lat, lon, sign.lat, sign.lon) < kClaimDistance) {
        write_taxiway_signs(ctx, sign);
      }
    }
  }
}

void write_taxiway_signs(DecodeContext& ctx, const DeferredSign& sign) {
  const DecodeOptions& o = ctx.options;
  const SignEntry* entries = ctx.tables.sign_entries.data() + sign.first_entry;
  for (uint32_t i = 0; i < sign.entry_count; ++i) {
    const SignEntry& e = entries[i];
    if (!o.terse) {
      write_record_comment_f(ctx.out, e.offset, "TaxiwaySign x: %.4f, y: %.4f", e.x, e.y);
    }
    const Position p = offset_position(sign.lat, sign.lon, e.x, e.y);
    write_taxiway_sign(ctx, {p.lat,
                             p.lon,
                             e.placed ? e.heading * kAngleUnit : e.heading * 360.0 / 65535.0,
                             e.placed ? &e : nullptr,
                             e.size,
                             designator_name(e.justification),
                             e.label,
                             {}});
  }
  if (sign.damaged) ctx.report_malformed(sign.damaged_at);
}

void write_taxiway_sign(DecodeContext& ctx, const TaxiwaySignFields& f) {
  const DecodeOptions& o = ctx.options;
  ctx.out.format("\t\t<TaxiwaySign lat=\"%s\" lon=\"%s\" ", format_coordinate(o, f.lat),
                 format_coordinate(o, f.lon));
  ctx.out.format("heading=\"%0.2lf\"\n", f.heading);
  if (f.placed != nullptr) write_placement(ctx, *f.placed);
  if (f.size_name) {
    ctx.out.format("\t\t\tsize=\"%s\" ", *f.size_name);
  } else {
    ctx.out.format("\t\t\tsize=\"SIZE%d\" ", f.size);
  }
  ctx.out.format("justification=\"%s\" ", f.justification);
  ctx.out.write("label=");
  write_quoted_text(ctx.out, f.label);
  ctx.out.write(" />\n");
  if (ctx.geometry != nullptr) {
    SignShape shape;
    shape.position = {f.lat, f.lon};
    shape.heading = static_cast<float>(f.heading);
    shape.label = f.label;
    ctx.geometry->taxiway_sign(shape);
  }
}

}  // namespace terrova
