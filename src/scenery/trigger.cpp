// Trigger, kind data of scenery objects of kinds 7 and 16:
//   +0  u16  trigger type: 0 refuel/repair, any other value weather
//   +2  f32  trigger height
// Refuel/repair:
//   +6  u32  fuel word, coded as the airport's
//   +10 u32  vertex count
//   +14      vertices
// Weather:
//   +6  u16  weather type: 1 RIDGE_LIFT, 2 NONDIRECTIONAL_TURBULENCE, 3 DIRECTIONAL_TURBULENCE,
//            4 THERMAL; other codes as their number
//   +8  f32  heading
//   +12 f32  scalar
//   +16 u32  vertex count
//   +20      vertices
// Vertex, 8 bytes: +0 f32 biasX, +4 f32 biasZ.
#include "format/fuel.h"
#include "format/values.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kRefuelFixed = 14;
constexpr uint32_t kWeatherFixed = 20;
constexpr uint32_t kVertexSize = 8;

constexpr const char* kWeatherTypes[] = {"RIDGE_LIFT", "NONDIRECTIONAL_TURBULENCE",
                                         "DIRECTIONAL_TURBULENCE", "THERMAL"};

EnumText weather_type_name(uint32_t code) {
  return code >= 1 && code <= 4 ? EnumText(kWeatherTypes[code - 1]) : EnumText::number(code);
}

}  // namespace

uint32_t decode_trigger(DecodeContext& ctx, const char* name, const Record& kind_data) {
  Output& out = ctx.out;
  const bool refuel = kind_data.u16(0) == 0;
  const uint32_t vertices_at = refuel ? kRefuelFixed : kWeatherFixed;
  if (!record_holds(ctx, kind_data, vertices_at)) return kind_data.size();
  const double height = kind_data.f32(2);

  out.format("\t\t<%s type=", name);
  if (refuel) {
    out.format("\"REFUEL_REPAIR\" triggerHeight=\"%0.2lf\" >\n", height);
    write_fuel_elements(out, kind_data.u32(6));
  } else {
    out.format("\"WEATHER\" triggerHeight=\"%0.2lf\" >\n", height);
    out.format(
        "\t\t\t<TriggerWeatherData type=\"%s\"\n\t\t\t\theading=\"%0.2lf\" scalar=\"%0.2lf\" />\n",
        weather_type_name(kind_data.u16(6)), static_cast<double>(kind_data.f32(8)),
        static_cast<double>(kind_data.f32(12)));
  }
  // The count is a signed number; vertices stop at the end of the kind data.
  const int32_t count = kind_data.i32(vertices_at - 4);
  for (int64_t i = 0; i < count; ++i) {
    const uint64_t at = vertices_at + static_cast<uint64_t>(i) * kVertexSize;
    if (!kind_data.holds(at, kVertexSize)) {
      ctx.report_malformed(kind_data.file_offset(at));
      break;
    }
    out.format("\t\t\t<Vertex biasX=\"%0.2lf\" biasZ=\"%0.2lf\" />\n",
               static_cast<double>(kind_data.f32(at)), static_cast<double>(kind_data.f32(at + 4)));
  }
  out.format("\t\t</%s>\n", name);
  return kind_data.size();
}

}  // namespace terrova
