// The `Ils` element of a runway, written from the ILS entry that the navaid section kept.
#include "airport/subrecords.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr const char* kEnds[] = {"PRIMARY", "SECONDARY"};

CoordinateText latitude_of(const DecodeOptions& o, const PackedPosition& p) {
  return format_coordinate(o, decode_latitude(p.lat));
}
CoordinateText longitude_of(const DecodeOptions& o, const PackedPosition& p) {
  return format_coordinate(o, decode_longitude(p.lon));
}

}  // namespace

void write_runway_ils(DecodeContext& ctx, const IlsEntry& ils, RunwayEnd end) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  if (ils.damaged) ctx.report_malformed(ils.damaged_at);
  const double heading = ils.has_localizer ? ils.heading : 0.0;
  const double width = ils.has_localizer ? ils.width : 0.0;

  out.format("\t\t\t<Ils lat=\"%s\" lon=\"%s\"\n", latitude_of(o, ils.position),
             longitude_of(o, ils.position));
  out.format("\t\t\t\talt=%s heading=\"%0.2lf\"\n", format_altitude(o, ils.position.alt_mm),
             heading);
  out.format("\t\t\t\tfrequency=\"%.3lf\" end=\"%s\" backCourse=\"%s\"\n",
             ils.frequency_hz * 0.000001, kEnds[static_cast<int>(end)],
             true_false(ils.back_course));
  out.format("\t\t\t\trange=%s magvar=\"%.2lf\" ident=\"%s\" width=\"%.2lf\"\n",
             format_range(o, ils.range_m), signed_magvar(ils.magvar), decode_ident(ils.ident),
             width);
  out.write("\t\t\t\tname=");
  write_quoted_text(out, ils.name);
  if (!ils.has_glide_slope && !ils.has_dme) {
    out.write(" />\n");
    return;
  }
  out.write(" >\n");
  if (ils.has_glide_slope) {
    out.format("\t\t\t\t<GlideSlope lat=\"%s\" lon=\"%s\"\n", latitude_of(o, ils.glide_slope),
               longitude_of(o, ils.glide_slope));
    out.format("\t\t\t\t\talt=%s pitch=\"%.2lf\" range=%s />\n",
               format_altitude(o, ils.glide_slope.alt_mm), ils.glide_slope_pitch,
               format_range(o, ils.glide_slope_range_m));
  }
  if (ils.has_dme) {
    out.format("\t\t\t\t<Dme lat=\"%s\" lon=\"%s\" alt=%s range=%s />\n", latitude_of(o, ils.dme),
               longitude_of(o, ils.dme), format_altitude(o, ils.dme.alt_mm),
               format_range(o, ils.dme_range_m));
  }
  out.write("\t\t\t</Ils>\n");
}

}  // namespace terrova
