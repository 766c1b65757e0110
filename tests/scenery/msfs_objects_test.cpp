// MSFS scenery objects of section 37: attached-object groups after their parent, car parking, the
// SimObject with a livery and the flag elements, as whole documents; records the walk does not
// know are dumped and passed by their size, damaged ones are reported and the walk goes on.
#include <gtest/gtest.h>

#include <string>

#include "golden.h"
#include "msfs_records.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

Bytes& object(Bytes& run, uint32_t kind, const Bytes& kind_data, uint32_t flags = 1) {
  ObjectHeader h;
  h.kind = kind;
  h.agl = flags;
  return scenery_object(run, h, kind_data);
}

const std::vector<Degrees> kArea = {
    {27.974995063, -82.025809607},
    {27.976804978, -82.024530984}
};

TEST(MsfsObjects, GroupsAndUnknownRecordsKeepEveryObjectAfterThem) {
  Bytes run;
  object(run, 11, library_object(Guid{}, 1.0f), 0x0011);  // NoShadow
  AttachedBeacon military, unknown_code;
  military.instance.w[0] = 0xFB23E82D;
  military.heading = 0x4000;
  military.code = 0xFA;
  military.name = "light_top";
  unknown_code.code = 7;
  attached_group(run, {AttachedBeacon{}, military, unknown_code});
  object(run, 0x18, msfs_windsock(4.5f, 2.75f, 0, "Windsock"), 0x0201);  // LowResAltitude
  run.begin_u16(0x1002).end();
  run.begin_u16(0x0D).u32(0xCAFEF00D).end();  // an attached kind not known: dumped
  run.begin_u16(0x1003).end();
  object(run, 0x16, car_parking(kArea));
  run.begin_u16(0x2000).u16(0xBEEF).end();  // no room for an object header: a bare dump
  object(run, 0x1E, car_parking(kArea, 1.256637f), 0x0101);  // NoSnow
  object(run, 0x30, Bytes().u32(0x01020304));                // an unknown kind
  object(run, 0x1D, livery_sim_object(1, "Asobo B429", "BELL_429_OFFICIAL"));
  object(run, 0x1D, livery_sim_object(2, "BIAR_Windsocks", ""));
  BglBuilder bgl;
  bgl.section(37).add(run, 13);
  // Every object stands in the documents, each after the records the walk had to pass.
  expect_golden_styles(bgl.build(), "scenery/golden/msfs_objects");
}

TEST(MsfsObjects, DamagedRecordsAreReportedAndTheWalkGoesOn) {
  Bytes run;
  object(run, 11, library_object(Guid{}, 1.0f));
  run.begin_u16(0x1002).end();
  run.begin_u16(0x11).zeros(20).end();  // too short for an attached beacon
  attached_beacon(run, AttachedBeacon{});
  run.begin_u16(0x1003).end();
  Bytes parking = car_parking(kArea);
  parking.put_u16(0, 9);  // more vertices than the record holds
  object(run, 0x16, parking);
  Bytes livery = livery_sim_object(1, "Asobo B429", "BELL");
  livery.put_u16(8, 200);  // a livery past the record
  object(run, 0x1D, livery);
  object(run, 11, library_object(Guid{}, 2.0f));
  run.begin_u16(0x1002).end();  // the run ends inside the group
  attached_beacon(run, AttachedBeacon{});
  BglBuilder bgl;
  bgl.section(37).add(run, 10);
  const Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 4u);
  expect_golden("scenery/golden/msfs_objects_damaged.xml", d.document);

  // Groups after objects outside the circle (around 0/0) leave no trace either.
  DecodeOptions o = switches("t");
  o.circle_enabled = true;
  o.radius_m = 1000;
  EXPECT_EQ(decode(bgl.build(), o).document.find("bject"), std::string::npos);
}

}  // namespace
}  // namespace terrova
