// Every decoded scenery-object kind, exclusion rectangles and model data as whole documents, in
// the default form, with -t and with -dfm; and the same kinds with damaged data.
#include "scenery/kinds.h"

#include <gtest/gtest.h>

#include "scenery/object_names.h"
#include "scenery_decode.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<uint32_t> counting_words(size_t n) {
  std::vector<uint32_t> words;
  for (size_t i = 0; i < n; ++i) words.push_back(static_cast<uint32_t>(100 + i));
  return words;
}

void add_object(Bytes& run, uint32_t& count, uint32_t kind, const Bytes& kind_data) {
  ObjectHeader h;
  h.kind = kind;
  h.heading = 0x4000;
  scenery_object(run, h, kind_data);
  ++count;
}

Guid other_guid() {
  Guid g;
  g.w[0] = 0x0000abcd;
  return g;
}

std::vector<uint8_t> every_kind() {
  Bytes run;
  uint32_t count = 0;
  // Buildings of every shape; the last word of each layout is never read.
  std::vector<uint32_t> flat = counting_words(19);
  flat[2] = 0xFFFF;  // a texture word is unsigned
  add_object(run, count, 1, generic_building(1.5f, 4, flat));
  add_object(run, count, 10, generic_building(0.75f, 7, counting_words(21)));
  add_object(run, count, 1, generic_building(1, 6, counting_words(23)));
  add_object(run, count, 1, generic_building(1, 8, counting_words(26)));
  add_object(run, count, 1, generic_building(2, 9, counting_words(21)));
  add_object(run, count, 1, generic_building(3, 10, counting_words(18)));
  add_object(run, count, 1, generic_building(1, 5, counting_words(3)));  // no layout
  // Library objects: named by the names table, unnamed, and with beacons of both markers.
  add_object(run, count, 2, library_object(Guid{}, 1.25f));
  add_object(run, count, 11, library_object(other_guid(), 2));
  Attachment beacon;
  beacon.pitch = 0xFFFF;
  beacon.bank = 0x8000;
  beacon.heading = 0x2000;
  beacon.beacon = 0xF9;
  beacon.name = "top<&>\"";
  add_object(run, count, 2, library_object(Guid{}, 1, beacon));
  Attachment moved;
  moved.marker = 0x1002;  // the angles stay at +30 to +34
  moved.pitch = 0x0100;
  moved.bank = 0x0200;
  moved.heading = 0xC000;
  moved.beacon = 0xF5;  // no row: CIVILIAN AIRPORT
  moved.name = "moved";
  add_object(run, count, 11, library_object(other_guid(), 1, moved));
  // Windsocks: colours are written red, blue, green; a lighted value past the table as its
  // number.
  add_object(run, count, 3, windsock(WindsockData{}));
  WindsockData dark;
  dark.lighted = 7;
  add_object(run, count, 12, windsock(dark));
  ObjectHeader identified;  // an instance id of the extended header
  identified.kind = 12;
  identified.instance = other_guid();
  scenery_object(run, identified, windsock(WindsockData{}));
  ++count;
  // Effects: no parameters (81 bytes), escaped parameters, a name that fills its field.
  add_object(run, count, 4, effect("fx_beaconwhi.fx", "", true));
  add_object(run, count, 13,
             effect("fx_smoke&\"co\"", "Rate=1.5; Color=\"red\"\tA\nB <x>\xE9", true));
  add_object(run, count, 4, effect(std::string(80, 'n'), "", false).u8('Z'));
  // Triggers of both kinds.
  add_object(run, count, 7,
             refuel_trigger(12.5f, 0x00C3000C,
                            {
                                {1,     2    },
                                {-3.5f, 4.25f}
  }));
  add_object(run, count, 7,
             refuel_trigger(0, 0,
                            {
                                {5, 6}
  }));
  add_object(run, count, 16,
             weather_trigger(100, 2, 270.5f, 0.25f,
                             {
                                 {7,  8 },
                                 {9,  10},
                                 {11, 12}
  }));
  add_object(run, count, 7, weather_trigger(1, 9, 0, 1, {}));

  BglBuilder bgl;
  bgl.section(37).add(run, count);
  Bytes rectangles;
  exclusion_rectangle(rectangles, 0x0008, 47.1, 47.2, 11.1, 11.2);
  exclusion_rectangle(rectangles, 0x0018, -33.5, -33.25, -70.5, -70.25);
  exclusion_rectangle(rectangles, 0x0700, 1, 2, 3, 4);
  exclusion_rectangle(rectangles, 0xF807, 1, 2, 3, 4);  // no class bit: no element
  exclusion_rectangle(rectangles, 0x07F0, 5, 6, 7, 8);
  bgl.section(46).add(rectangles, 5);
  Bytes models = model_data({
      {Guid{},       "MDL1"},
      {other_guid(), ""    }
  });
  models.put_u32(24 + 16, 0x7FFFFFF0);  // an empty model has nothing to copy, wherever it lies
  bgl.section(43).add(models, 2);
  return bgl.build();
}

StringTable sample_names() {
  StringTable names = make_object_name_table();
  parse_object_names("Hangar--A- {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\n", names);
  return names;
}

TEST(SceneryKinds, EveryKindInEveryForm) {
  const std::vector<uint8_t> file = every_kind();
  const StringTable names = sample_names();
  struct Case {
    const char* letters;
    const char* golden;
  };
  for (const Case& c : {
           Case{"",    "scenery/golden/kinds.xml"      },
           Case{"t",   "scenery/golden/kinds_terse.xml"},
           Case{"dfm", "scenery/golden/kinds_dfm.xml"  }
  }) {
    CapturedFiles files;
    Decoded d = decode_scenery(file, switches(c.letters), &names, &files);
    EXPECT_EQ(d.malformed, 0u) << c.letters;
    expect_golden(c.golden, d.document);
    ASSERT_EQ(files.files.size(), 2u);
    EXPECT_EQ(files.files[0], std::make_pair(std::string("Hangar--A-.mdl"), std::string("MDL1")));
    EXPECT_EQ(files.files[1],
              std::make_pair(std::string("0000abcd4b8e1c2a3412009fab907856.mdl"), std::string()));
  }
}

TEST(SceneryKinds, WithoutNamesTheGuidNamesEverything) {
  CapturedFiles files;
  Decoded d = decode_scenery(every_kind(), switches("t"), nullptr, &files);
  EXPECT_EQ(d.document.find("<!-- Object"), std::string::npos);
  EXPECT_NE(d.document.find("sourceFile=\"6d3b5f0e4b8e1c2a3412009fab907856.mdl\""),
            std::string::npos);
  ASSERT_EQ(files.files.size(), 2u);
  EXPECT_EQ(files.files[0].first, "6d3b5f0e4b8e1c2a3412009fab907856.mdl");
  // Without a sink the elements are written all the same.
  Decoded no_files = decode_scenery(every_kind(), switches("t"), nullptr, nullptr);
  EXPECT_EQ(no_files.document, d.document);
}

// Kind data shorter than its layout, counts past the record, models past the file.
std::vector<uint8_t> damaged() {
  Bytes run;
  uint32_t count = 0;
  add_object(run, count, 1, generic_building(1, 4, counting_words(10)));  // FLAT needs 48
  add_object(run, count, 1, generic_building(1, 7, counting_words(3)));
  add_object(run, count, 1, Bytes().zeros(6));  // smaller than any building
  Attachment a;
  Bytes cut = library_object(Guid{}, 1, a);
  cut.data.resize(40);  // the attachment block runs past the kind data
  add_object(run, count, 2, cut);
  add_object(run, count, 2, Bytes().zeros(12));
  add_object(run, count, 3, windsock(WindsockData{}));
  Bytes short_sock = windsock(WindsockData{});
  short_sock.data.resize(10);
  add_object(run, count, 3, short_sock);
  add_object(run, count, 4, Bytes().text("fx_cut").zeros(20));  // no room for the name field
  Bytes open_params = effect("fx_open", "a=b", true);
  open_params.data.pop_back();  // parameters without their zero byte
  add_object(run, count, 4, open_params);
  Bytes refuel = refuel_trigger(1, 3,
                                {
                                    {1, 1},
                                    {2, 2}
  });
  refuel.put_u32(10, 5);  // five vertices claimed, two stored
  add_object(run, count, 7, refuel);
  Bytes weather = weather_trigger(1, 4, 0, 0,
                                  {
                                      {1, 1}
  });
  weather.put_u32(16, 0x40000000);
  add_object(run, count, 16, weather);
  add_object(run, count, 7, Bytes().u16(1).f32(3).zeros(6));  // weather needs 20
  Bytes negative = refuel_trigger(1, 0, {});
  negative.put_u32(10, 0x80000000);  // a negative count: no vertices, as a count below zero
  add_object(run, count, 7, negative);
  add_object(run, count, 1, generic_building(1, 10, counting_words(18)));  // the walk goes on

  BglBuilder bgl;
  bgl.section(37).add(run, count);
  Bytes rectangles;
  exclusion_rectangle(rectangles, 0x0008, 1, 2, 3, 4);
  bgl.section(46).add(rectangles, 3);  // three claimed, one stored
  Bytes models = model_data({
      {Guid{},       "AB"},
      {other_guid(), "CD"}
  });
  models.put_u32(16, 0x7FFFFF00);  // the first model lies past the file
  bgl.section(43).add(models, 2);
  Bytes entries = model_data({
      {Guid{}, "EF"}
  });
  bgl.section(43).add(entries, 4);  // four entries claimed: the table runs into the model bytes
  return bgl.build();
}

TEST(SceneryKinds, DamagedKindsAreReportedAndTheWalkGoesOn) {
  const StringTable names = sample_names();
  CapturedFiles files;
  Decoded d = decode_scenery(damaged(), switches(""), &names, &files);
  expect_golden("scenery/golden/kinds_damaged.xml", d.document);
  EXPECT_EQ(d.malformed, 14u);
  // Only whole models become files.
  ASSERT_EQ(files.files.size(), 2u);
  EXPECT_EQ(files.files[0].second, "CD");
  EXPECT_EQ(files.files[1].second, "EF");
  Decoded terse = decode_scenery(damaged(), switches("t"), &names, nullptr);
  expect_golden("scenery/golden/kinds_damaged_terse.xml", terse.document);
}

TEST(SceneryKinds, EffectConsumesItsParametersOnly) {
  // 82 bytes with an empty parameter text: the attribute is written and 81 bytes are consumed.
  Bytes data = effect("fx_empty", "", true).u8(0x41);
  const Image image(data.data.data(), static_cast<uint32_t>(data.size()));
  std::string document;
  Output out(drain_to_string, &document, false);
  SharedTables tables;
  const DecodeOptions options;
  DecodeContext ctx(image, options, out, tables);
  const Record kind_data = Record(image, 0, image.size());
  EXPECT_EQ(decode_effect(ctx, "Effect", kind_data), 81u);
  out.flush();
  EXPECT_EQ(document, "\t\t<Effect\n\t\t\teffectName=\"fx_empty\"\n\t\t\teffectParams=\"\" />\n");
}

}  // namespace
}  // namespace terrova
