// MSFS scenery objects of section 37: attached-object groups after their parent, car-parking
// areas, the SimObject with a livery and the flag elements, as whole documents; records the walk
// does not know are dumped and passed by their size, damaged ones are reported.
#include <gtest/gtest.h>

#include <string>

#include "golden.h"
#include "msfs_records.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

size_t count_of(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

ObjectHeader header(uint32_t kind, uint32_t flags = 1) {
  ObjectHeader h;
  h.kind = kind;
  h.agl = flags;
  h.heading = 0x8000;
  return h;
}

const std::vector<Degrees> kArea = {
    {27.97499506391943, -82.02580960729367},
    {27.97499858336413, -82.02451606390431},
    {27.97680497877007, -82.02453098449243},
};

// Each object follows records that the walk must pass: a group of two beacons, a group holding
// a record of an unknown id, a bare record too short for an object header, an object of an
// unknown kind.
std::vector<uint8_t> msfs_objects(uint32_t* objects) {
  Bytes run;
  scenery_object(run, header(11, 0x0011), library_object(Guid{}, 1.0f));  // NoShadow
  AttachedBeacon military;
  military.instance.w[0] = 0xFB23E82D;
  military.code = 0xFA;
  military.heading = 0x4000;
  military.name = "light_top";
  AttachedBeacon unknown_code;
  unknown_code.code = 0x07;
  attached_group(run, {AttachedBeacon{}, military, unknown_code});
  scenery_object(run, header(0x18, 0x0201), msfs_windsock(4.5f, 2.75f, 0, "Windsock"));
  run.begin_u16(0x1002).end();
  run.begin_u16(0x0D).u32(0xCAFEF00D).end();  // an attached kind not known yet: dumped
  run.begin_u16(0x1003).end();
  scenery_object(run, header(0x16), car_parking(kArea));
  run.begin_u16(0x2000).u16(0xBEEF).end();  // no object header: a bare dump
  scenery_object(run, header(0x1E, 0x0101), later_car_parking(1.256637f, kArea));
  scenery_object(run, header(0x30), Bytes().u32(0x01020304));  // an unknown kind
  scenery_object(run, header(0x1D), livery_sim_object(1, "Asobo B429", "BELL_429_OFFICIAL"));
  scenery_object(run, header(0x1D), livery_sim_object(2, "BIAR_Windsocks", ""));
  *objects = 7;
  BglBuilder bgl;
  bgl.section(37).add(run, 13);
  return bgl.build();
}

TEST(MsfsObjects, GroupsAndUnknownRecordsKeepEveryObjectAfterThem) {
  uint32_t objects = 0;
  const std::vector<uint8_t> file = msfs_objects(&objects);
  expect_golden_styles(file, "scenery/golden/msfs_objects");
  const Decoded d = decode(file, switches("t"));
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(count_of(d.document, "<SceneryObject "), objects);
  EXPECT_EQ(count_of(d.document, "<AttachedObject "), 3u);
  EXPECT_EQ(count_of(d.document, "dumping unknown object"), 3u);
}

TEST(MsfsObjects, AGroupAfterAnObjectOutsideTheCircleLeavesNoTrace) {
  Bytes run;
  ObjectHeader far = header(11);
  far.lat = -33.5;
  scenery_object(run, far, library_object(Guid{}, 1.0f));
  attached_group(run, {AttachedBeacon{}});
  scenery_object(run, header(11), library_object(Guid{}, 3.0f));
  BglBuilder bgl;
  bgl.section(37).add(run, 5);
  DecodeOptions o = switches("t");
  o.circle_enabled = true;
  o.center_lat = 47.2612;
  o.center_lon = 11.3501;
  o.radius_m = 1000;
  const Decoded d = decode(bgl.build(), o);
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(count_of(d.document, "<SceneryObject "), 1u);
  EXPECT_NE(d.document.find("scale=\"3.00\""), std::string::npos);
  EXPECT_EQ(d.document.find("Attached"), std::string::npos);
  EXPECT_EQ(d.document.find("dumping"), std::string::npos);
}

TEST(MsfsObjects, DamagedRecordsAreReportedAndTheWalkGoesOn) {
  Bytes run;
  scenery_object(run, header(11), library_object(Guid{}, 1.0f));
  run.begin_u16(0x1002).end();
  run.begin_u16(0x11).zeros(20).end();  // too short for an attached beacon
  attached_beacon(run, AttachedBeacon{});
  run.begin_u16(0x1003).end();
  Bytes parking = car_parking(kArea);
  parking.put_u16(0, 9);  // more vertices than the record holds
  scenery_object(run, header(0x16), parking);
  Bytes livery = livery_sim_object(1, "Asobo B429", "BELL");
  livery.put_u16(8, 200);  // a livery past the record
  scenery_object(run, header(0x1D), livery);
  scenery_object(run, header(11), library_object(Guid{}, 2.0f));
  run.begin_u16(0x1002).end();  // the run ends inside the group
  attached_beacon(run, AttachedBeacon{});
  BglBuilder bgl;
  bgl.section(37).add(run, 10);
  const Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 4u);
  expect_golden("scenery/golden/msfs_objects_damaged.xml", d.document);
}

TEST(MsfsObjects, ARecordSmallerThanItsSizeFieldEndsTheWalk) {
  for (uint32_t bad_size : {0u, 3u}) {
    Bytes run;
    scenery_object(run, header(11), library_object(Guid{}, 1.0f));
    run.begin_u16(0x1002).end();
    run.begin_u16(0x11).zeros(45).end_with_size(bad_size);
    scenery_object(run, header(11), library_object(Guid{}, 2.0f));
    BglBuilder bgl;
    bgl.section(37).add(run, 4);
    const Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 1u) << bad_size;
    EXPECT_EQ(count_of(d.document, "</SceneryObject>"), 1u) << bad_size;
  }
}

}  // namespace
}  // namespace terrova
