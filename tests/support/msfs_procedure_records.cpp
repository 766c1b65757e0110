#include "msfs_procedure_records.h"

namespace terrova::testkit {
namespace {

uint32_t count_of(size_t real, std::optional<uint32_t> count) {
  return count ? *count : static_cast<uint32_t>(real);
}

Bytes& vertices_of(Bytes& b, const std::vector<LatLon>& vertices) {
  for (const LatLon& v : vertices) b.lon(v.lon).lat(v.lat);
  return b;
}

}  // namespace

Bytes& navaid_deletion(Bytes& b, std::string_view ident) {
  return b.begin(0xDB).u16(0).u32(pack_ident(ident)).u32(0xB37C1800).end();
}

Bytes& msfs_delete_airport(Bytes& b, uint32_t flags, uint32_t more_flags) {
  return b.begin(0x33).u16(flags).u8(0).u8(0).u8(0).u8(more_flags).end();
}

Bytes& painted_line(Bytes& b, uint32_t type, uint32_t true_angle, const Guid& surface,
                    const std::vector<LatLon>& vertices, std::optional<uint32_t> count) {
  b.begin(0xCF).u8(type).u8(true_angle).u32(count_of(vertices.size(), count));
  return vertices_of(guid(b, surface), vertices).end();
}

Bytes& hatched_area(Bytes& b, uint32_t type, float heading, float spacing,
                    const std::vector<LatLon>& vertices) {
  b.begin(0xD8).u8(type).zeros(3).u16(static_cast<uint32_t>(vertices.size()));
  b.f32(heading).f32(spacing);
  return vertices_of(b, vertices).end();
}

Bytes& msfs_sign(Bytes& b, double lat, double lon, float heading, uint32_t size,
                 uint32_t justification, std::string_view label) {
  b.begin(0xD9).u16(133).lon(lon).lat(lat).f32(heading).u8(size).u8(justification).text(label);
  return b.zeros(62 - label.size()).end();
}

Bytes& msfs_leg_list(Bytes& b, uint32_t id, const std::vector<MsfsLeg>& legs,
                     std::optional<uint32_t> count) {
  b.begin(id).u16(count_of(legs.size(), count));
  for (const MsfsLeg& m : legs) {
    const LegEntry& l = m.leg;
    b.u8(l.type).u8(l.descriptor).u8(l.turn).u8(l.flags);
    b.u32(pack_ident(l.fix_ident, l.fix_type)).u32(pack_region(l.fix_region));
    b.u32(l.recommended_ident.empty() ? 0 : pack_ident(l.recommended_ident, l.recommended_type));
    b.u32(pack_region(l.recommended_region));
    b.f32(l.theta).f32(l.rho).f32(l.course).f32(l.distance).f32(l.altitude1).f32(l.altitude2);
    b.f32(m.speed_limit).f32(m.vertical_angle).zeros(id >= 0xF4 ? 20 : id >= 0xEC ? 16 : 8);
  }
  return b.end();
}

Bytes& begin_terminal_procedure(Bytes& b, uint32_t id, std::string_view name,
                                uint32_t runway_transitions, uint32_t common_lists,
                                uint32_t enroute_transitions) {
  b.begin(id).u16(0).u8(runway_transitions).u8(common_lists).u8(enroute_transitions).u8(0);
  return b.text(name).zeros(8 - name.size());
}

Bytes& runway_transition(Bytes& b, uint32_t number, uint32_t designator,
                         const std::vector<MsfsLeg>& legs) {
  b.begin(0x46).u8(static_cast<uint32_t>(legs.size())).u8(number).u8(designator).zeros(3);
  return msfs_leg_list(b, 0xE4, legs).end();
}

Bytes& enroute_transition(Bytes& b, const std::vector<MsfsLeg>& legs) {
  b.begin(0x47).u8(static_cast<uint32_t>(legs.size())).u8(0);
  return msfs_leg_list(b, 0xE6, legs).end();
}

// Records of later SDKs.
Bytes& begin_later_msfs_approach(Bytes& b, const ApproachHeader& h) {
  b.begin(0xFA).u8(h.suffix).u8(h.runway).u8(h.type_flags).zeros(3);
  b.u32(pack_ident(h.fix_ident, h.fix_type)).u32(pack_region(h.fix_region));
  return b.f32(h.altitude).f32(h.heading).f32(h.missed_altitude).zeros(4);
}

Bytes& begin_later_msfs_transition(Bytes& b, const TransitionHeader& h, uint32_t legs) {
  b.begin(0x49).u8(h.type).u8(legs);
  b.u32(pack_ident(h.fix_ident, h.fix_type)).u32(pack_region(h.fix_region)).f32(h.altitude);
  if (h.type == 2) {
    b.u32(pack_ident(h.dme_ident)).u32(pack_region(h.dme_region)).i32(h.radial);
    b.f32(h.dme_distance);
  }
  return b.zeros(8);
}

}  // namespace terrova::testkit
