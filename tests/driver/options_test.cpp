// The switch parser, the option table, coordinate arguments and the circle set-up.
#include "driver/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace terrova {
namespace {

struct Parsed {
  int result = 0;
  DecodeOptions options;
  std::vector<std::string> positional;
  std::string messages;
};

Parsed parse(std::vector<const char*> args, bool positional_ok = true) {
  Parsed p;
  args.insert(args.begin(), "terrova");
  OptionTable table(p.options);
  SwitchParser parser;
  auto positional = [](void* c, const char* text, int number) {
    auto& self = *static_cast<Parsed*>(c);
    if (number > 2) return kParseError;
    self.positional.push_back(text);
    return kParseEnd;
  };
  auto message = [](void* c, const std::string& text) {
    static_cast<Parsed*>(c)->messages += text;
  };
  p.result = parser.parse_switches(static_cast<int>(args.size()), args.data(), table.rows,
                                   positional_ok ? +positional : nullptr, message, &p);
  return p;
}

TEST(Switches, FlagsGroupAndMix) {
  Parsed p = parse({"-tdf", "in.bgl"});
  EXPECT_EQ(p.result, kParseEnd);
  EXPECT_TRUE(p.options.terse);
  EXPECT_TRUE(p.options.degrees_minutes);
  EXPECT_TRUE(p.options.feet);
  EXPECT_FALSE(p.options.nautical_miles);
  EXPECT_EQ(p.positional, (std::vector<std::string>{"in.bgl"}));

  Parsed q = parse({"in.bgl", "-t", "out.xml", "-m"});
  EXPECT_EQ(q.result, kParseEnd);
  EXPECT_TRUE(q.options.terse);
  EXPECT_TRUE(q.options.nautical_miles);
  EXPECT_EQ(q.positional, (std::vector<std::string>{"in.bgl", "out.xml"}));
}

TEST(Switches, Help) {
  EXPECT_EQ(parse({"-h"}).result, kParseHelp);
  EXPECT_EQ(parse({"-H"}).result, kParseHelp);
  EXPECT_EQ(parse({"-?"}).result, kParseHelp);
  Parsed p = parse({"-th"});
  EXPECT_EQ(p.result, kParseHelp);
  EXPECT_TRUE(p.options.terse);
}

TEST(Switches, ArgumentsAttachedOrSeparate) {
  EXPECT_EQ(parse({"-r100"}).options.radius_km, 100u);
  EXPECT_EQ(parse({"-r", "100"}).options.radius_km, 100u);
  EXPECT_EQ(parse({"-tr100"}).options.radius_km, 100u);
  EXPECT_EQ(parse({"-r-5"}).options.radius_km, 4294967291u);
  EXPECT_EQ(parse({"-r", "99999999999"}).options.radius_km, 4294967295u);
  EXPECT_EQ(parse({"-r", " 12x"}).options.radius_km, 12u);
  Parsed n = parse({"-n", "N47:30", "-eW122.5"});
  EXPECT_STREQ(n.options.center_lat_text, "N47:30");
  EXPECT_STREQ(n.options.center_lon_text, "W122.5");
}

TEST(Switches, ErrorsAndTheirMessages) {
  Parsed unknown = parse({"-x"});
  EXPECT_EQ(unknown.result, kParseError);
  EXPECT_EQ(unknown.messages, "? -- unrecognized option x\n");
  Parsed colon = parse({"-:"});
  EXPECT_EQ(colon.messages, "? -- unrecognized option :\n");
  Parsed last = parse({"in.bgl", "-r"});
  EXPECT_EQ(last.result, kParseError);
  EXPECT_EQ(last.messages, "? -- expect an argument after r\n");
  Parsed dashes = parse({"--"});
  EXPECT_EQ(dashes.result, kParseError);
  EXPECT_EQ(dashes.messages, "? -- invalid argument -\n");
  Parsed lone = parse({"-"});
  EXPECT_EQ(lone.result, kParseError);
  EXPECT_EQ(lone.messages, "? -- no options on line\n");
  Parsed bad_number = parse({"-rabc"});
  EXPECT_EQ(bad_number.result, kParseError);
  EXPECT_EQ(bad_number.messages, "");
  EXPECT_EQ(parse({"a", "b", "c"}).result, kParseError);
  EXPECT_EQ(parse({"a"}, false).result, kParseError);
}

TEST(Switches, AnEmptyNumberLeavesTheTargetAndGoesOn) {
  Parsed p = parse({"-r", "", "-t"});
  EXPECT_EQ(p.result, kParseEnd);
  EXPECT_EQ(p.options.radius_km, 0u);
  EXPECT_TRUE(p.options.terse);
}

TEST(Switches, HelpText) {
  DecodeOptions o;
  OptionTable table(o);
  std::string help = switches_help(table.rows);
  EXPECT_EQ(help.substr(0, 11), "\nSwitches:\n");
  EXPECT_NE(help.find("  -t       Do not print verbose information to output file\n"),
            std::string::npos);
  EXPECT_NE(help.find("  -r<arg>  Radius of circle (in KM) for partial decoding\n"),
            std::string::npos);
  EXPECT_NE(
      help.find("  -j<arg>  Files of a folder decoded at once (default: one per processor)\n"),
      std::string::npos);
  EXPECT_NE(help.find("  -p       Write an SVG plan of each airport beside the XML\n"),
            std::string::npos);
  EXPECT_NE(help.find("  -u       List the bytes of each record kind never read\n"),
            std::string::npos);
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 17);
}

TEST(Switches, JobsForAFolder) {
  DecodeOptions o;
  OptionTable table(o);
  EXPECT_EQ(table.jobs, 0u);
  const char* args[] = {"terrova", "-tj4", "-j", "3"};
  SwitchParser parser;
  EXPECT_EQ(parser.parse_switches(4, args, table.rows, nullptr, nullptr, nullptr), kParseEnd);
  EXPECT_EQ(table.jobs, 3u);  // the last one counts
  EXPECT_TRUE(o.terse);
  EXPECT_EQ(parse({"-j", "x"}).result, kParseError);
  EXPECT_EQ(parse({"-j"}).messages, "? -- expect an argument after j\n");
}

TEST(CoordinateArgument, PrefixesAndFields) {
  EXPECT_DOUBLE_EQ(parse_coordinate_arg("N47:30"), 47.5);
  EXPECT_NEAR(parse_coordinate_arg("S33:52:12"), -33.87, 0.0001);
  EXPECT_DOUBLE_EQ(parse_coordinate_arg("W122.5"), -122.5);
  EXPECT_DOUBLE_EQ(parse_coordinate_arg("47:30:"), 47.5);
  EXPECT_DOUBLE_EQ(parse_coordinate_arg("::47::30"), 47.5);
  EXPECT_EQ(parse_coordinate_arg("n47"), 0.0);
  EXPECT_EQ(parse_coordinate_arg(""), 0.0);
  EXPECT_EQ(parse_coordinate_arg("-"), 0.0);
  EXPECT_DOUBLE_EQ(parse_coordinate_arg("+10:0:0:99"), 10.0);
}

TEST(CircleSetUp, NeedsBothCentreTextsAndNonZeroValues) {
  DecodeOptions o;
  o.center_lat_text = "10";
  o.center_lon_text = "10";
  o.radius_km = 5000;
  set_up_circle(o);
  EXPECT_EQ(o.radius_km, 4000u);
  EXPECT_EQ(o.radius_m, 4000000.0);
  EXPECT_TRUE(o.circle_enabled);

  DecodeOptions zero_lat;
  zero_lat.center_lat_text = "0";
  zero_lat.center_lon_text = "10";
  zero_lat.radius_km = 100;
  set_up_circle(zero_lat);
  EXPECT_FALSE(zero_lat.circle_enabled);

  DecodeOptions no_radius;
  no_radius.center_lat_text = "10";
  no_radius.center_lon_text = "10";
  set_up_circle(no_radius);
  EXPECT_FALSE(no_radius.circle_enabled);

  DecodeOptions no_lon;
  no_lon.center_lat_text = "10";
  no_lon.radius_km = 100;
  set_up_circle(no_lon);
  EXPECT_FALSE(no_lon.circle_enabled);
  EXPECT_EQ(no_lon.radius_km, 100u);
}

}  // namespace
}  // namespace terrova
