// One airport's plan as it is drawn: every shape in the local plane around the airport reference
// point, in metres (x east, y north), checked and resolved (paths end at their points and parking
// places). The collector fills it from the geometry listener's calls; the SVG writer draws it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bgl/geometry.h"

namespace terrova::plan {

struct Vec {
  double x = 0;  // metres east of the reference point
  double y = 0;  // metres north
};

struct PlanRunway {
  Vec centre;
  double length = 0;
  double width = 0;
  double heading = 0;
  uint32_t number = 0;
  RunwayEndShape ends[2];  // primary, secondary; zone sizes checked (0: none)
};

struct PlanHelipad {
  Vec centre;
  double length = 0;
  double width = 0;
  double heading = 0;
  bool closed = false;
};

struct PlanStart {
  Vec position;
  double heading = 0;
};

struct PlanParking {
  Vec position;
  double radius = 0;
  double heading = 0;
  uint32_t name_code = 0;
  uint32_t number = 0;
  uint32_t type = 0;
};

struct PlanPath {
  Vec from;
  Vec to;
  uint32_t type = 0;  // `PathType`
  double width = 0;
  std::string name;  // the taxi name, or the runway text of a RUNWAY path; may be empty
};

struct PlanLine {
  std::vector<Vec> points;
};

struct PlanFence {
  FenceKind kind = FenceKind::kBlast;
  std::vector<Vec> points;
};

struct PlanJetway {
  Vec from;  // the jetway object
  Vec to;    // the edge of the parking place it serves
};

struct PlanSign {
  Vec position;
  double heading = 0;
  std::string label;
};

struct PlanIls {
  Vec position;
  double heading = 0;
  double width = 0;  // degrees, checked
  double frequency_mhz = 0;
  std::string ident;
};

struct PlanData {
  std::string ident;
  std::string name;  // texts from the file, Windows-1252
  std::string city;
  std::string country;
  bool has_tower = false;
  Vec tower;
  std::vector<PlanRunway> runways;
  std::vector<PlanHelipad> helipads;
  std::vector<PlanStart> starts;
  std::vector<PlanParking> parkings;
  std::vector<PlanPath> paths;
  std::vector<PlanLine> aprons;
  std::vector<PlanLine> edge_lights;
  std::vector<PlanFence> fences;
  std::vector<PlanJetway> jetways;
  std::vector<PlanSign> signs;
  std::vector<PlanIls> ils;
};

// The text of a runway end, "09L", from the runway number code of the primary end (with
// `opposite`, the other end's number: 27 for 09, "S" for "N") and the end's own designator code.
std::string runway_end_text(uint32_t number, uint32_t designator, bool opposite);

}  // namespace terrova::plan
