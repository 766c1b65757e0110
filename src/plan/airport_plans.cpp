#include "plan/airport_plans.h"

#include <cmath>

#include "plan/svg_plan.h"

namespace terrova::plan {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Metres of one degree of latitude on a sphere of the mean Earth radius.
constexpr double kMetresPerDegree = 6371000.0 * kPi / 180.0;

// The largest sizes that a real airport has; anything larger is damage.
constexpr double kLongestRunway = 20000;
constexpr double kWidestRunway = 2000;
constexpr double kLargestHelipad = 1000;
constexpr double kLargestParking = 500;
constexpr double kWidestPath = 500;

bool size_ok(double value, double most) {
  return std::isfinite(value) && value > 0 && value <= most;
}

// A zone kept only with a sound length; a width that is not sound takes the runway's.
EndZone checked_zone(const EndZone& zone, double runway_width) {
  if (!size_ok(zone.length, kLongestRunway)) return {};
  const double width = size_ok(zone.width, kWidestRunway) ? zone.width : runway_width;
  return {zone.length, static_cast<float>(width)};
}

RunwayEndShape checked_end(const RunwayEndShape& end, double runway_width) {
  RunwayEndShape e = end;
  e.offset_threshold = checked_zone(end.offset_threshold, runway_width);
  e.blast_pad = checked_zone(end.blast_pad, runway_width);
  e.overrun = checked_zone(end.overrun, runway_width);
  return e;
}

// The text of a name from the file, up to its first zero byte, without trailing spaces.
std::string trimmed(std::string_view text) {
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::string runway_end_text(uint32_t number, uint32_t designator, bool opposite) {
  static constexpr const char* kCompass[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
  static constexpr const char* kLetters[] = {"", "L", "R", "C", "", ""};
  number &= 0xFF;
  if (number == 0) number = 36;
  std::string text;
  if (number >= 37 && number <= 44) {
    text = kCompass[(number - 37 + (opposite ? 4 : 0)) % 8];
  } else {
    if (opposite && number <= 36) number = number > 18 ? number - 18 : number + 18;
    if (number < 10) text += '0';
    text += std::to_string(number);
  }
  if (designator < 6) text += kLetters[designator];
  return text;
}

std::string ident_file_part(std::string_view ident) {
  std::string part;
  for (char c : ident) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_';
    part += plain ? c : '_';
  }
  return part.empty() ? "_" : part;
}

AirportPlans::AirportPlans(std::string base_name, ExtraFileSink& files)
    : base_name_(std::move(base_name)), files_(files) {}

bool AirportPlans::place(const GeoPoint& point, Vec& local) const {
  double east = point.lon - reference_.lon;
  if (east > 180) east -= 360;
  if (east < -180) east += 360;
  local = {east * metres_per_degree_lon_, (point.lat - reference_.lat) * kMetresPerDegree};
  // Not a number fails the comparison too.
  return local.x * local.x + local.y * local.y <= kFarthest * kFarthest;
}

bool AirportPlans::place_all(std::span<const GeoPoint> points, size_t least,
                             PlanLines& lines) const {
  if (points.size() < least) return false;
  const size_t before = lines.points.size();
  lines.points.resize(before + points.size());
  Tenths* to = lines.points.data() + before;
  for (const GeoPoint& point : points) {
    Vec local;
    if (!place(point, local)) {
      lines.points.resize(before);
      return false;
    }
    const Tenths at = tenths_of(local);
    lines.least = {std::min(lines.least.x, at.x), std::min(lines.least.y, at.y)};
    lines.most = {std::max(lines.most.x, at.x), std::max(lines.most.y, at.y)};
    *to++ = at;
  }
  lines.ends.push_back(static_cast<uint32_t>(lines.points.size()));
  return true;
}

void AirportPlans::begin_airport(const AirportPlace& airport) {
  if (open_) end_airport();
  open_ = true;
  plan_.clear();
  points_.clear();
  parking_at_.clear();
  taxi_names_.clear();
  paths_.clear();
  jetways_.clear();
  reference_ = airport.reference;
  metres_per_degree_lon_ = kMetresPerDegree * std::cos(reference_.lat * kPi / 180.0);
  plan_.ident = std::string(airport.ident);
  plan_.name = trimmed(airport.name);
  plan_.name_in_utf8 = airport.name_in_utf8;
  plan_.city = std::string(airport.city);
  plan_.country = std::string(airport.country);
}

void AirportPlans::end_airport() {
  if (!open_) return;
  open_ = false;
  resolve_paths();
  resolve_jetways();
  // The plan before this one goes out first: its text is written over.
  finish();
  write_plan_svg(plan_, svg_, storage_);
  pending_name_ = next_file_name();
  pending_ = true;
}

void AirportPlans::finish() {
  if (!pending_) return;
  pending_ = false;
  if (files_.write != nullptr && files_.write(files_.context, pending_name_, svg_) == 0) {
    ++written_;
  }
}

AirportPlans::~AirportPlans() { finish(); }

std::string AirportPlans::next_file_name() {
  const std::string part = ident_file_part(plan_.ident);
  const uint32_t use = ++ident_uses_[part];
  std::string name = base_name_;
  name += '.';
  name += part;
  if (use > 1) {
    name += '_';
    name += std::to_string(use);
  }
  name += ".svg";
  return name;
}

void AirportPlans::tower(const GeoPoint& position) {
  plan_.has_tower = open_ && place(position, plan_.tower);
}

void AirportPlans::runway(const RunwayShape& r) {
  PlanRunway p;
  if (!open_ || !place(r.centre, p.centre) || !size_ok(r.length, kLongestRunway) ||
      !size_ok(r.width, kWidestRunway) || !std::isfinite(r.heading)) {
    return;
  }
  p.length = r.length;
  p.width = r.width;
  p.heading = r.heading;
  p.number = r.number;
  p.ends[0] = checked_end(r.primary, r.width);
  p.ends[1] = checked_end(r.secondary, r.width);
  plan_.runways.push_back(p);
}

void AirportPlans::helipad(const HelipadShape& h) {
  PlanHelipad p;
  if (!open_ || !place(h.centre, p.centre) || !size_ok(h.length, kLargestHelipad) ||
      !size_ok(h.width, kLargestHelipad) || !std::isfinite(h.heading)) {
    return;
  }
  p.length = h.length;
  p.width = h.width;
  p.heading = h.heading;
  p.closed = h.closed;
  plan_.helipads.push_back(p);
}

void AirportPlans::start(const StartShape& s) {
  PlanStart p;
  if (!open_ || !place(s.position, p.position) || !std::isfinite(s.heading)) return;
  p.heading = s.heading;
  plan_.starts.push_back(p);
}

void AirportPlans::taxiway_point(uint32_t index, const GeoPoint& position) {
  Vec local;
  if (!open_ || !place(position, local)) return;
  const Tenths v = tenths_of(local);
  // The points come in index order: each is usually the next one.
  if (index == points_.size()) {
    points_.push_back(v);
    return;
  }
  if (index > points_.size()) points_.resize(size_t{index} + 1, kNoPoint);
  points_[index] = v;
}

void AirportPlans::parking(uint32_t index, const ParkingShape& s) {
  PlanParking p;
  if (!open_ || !place(s.position, p.position) || !size_ok(s.radius, kLargestParking)) return;
  p.radius = s.radius;
  p.heading = std::isfinite(s.heading) ? s.heading : 0.0;
  p.name_code = s.name_code;
  p.number = s.number;
  p.type = s.type;
  if (index >= parking_at_.size()) parking_at_.resize(size_t{index} + 1, kNone);
  parking_at_[index] = plan_.parkings.size();
  plan_.parkings.push_back(p);
}

void AirportPlans::taxiway_path(const PathShape& path) {
  if (open_) paths_.push_back(path);
}

void AirportPlans::taxi_name(uint32_t index, std::string_view name) {
  if (!open_) return;
  if (index >= taxi_names_.size()) taxi_names_.resize(size_t{index} + 1);
  taxi_names_[index] = trimmed(name);
}

void AirportPlans::apron(std::span<const GeoPoint> outline) {
  if (open_) place_all(outline, 3, plan_.aprons);
}

void AirportPlans::edge_lights(std::span<const GeoPoint> points) {
  if (open_) place_all(points, 2, plan_.edge_lights);
}

void AirportPlans::fence(FenceKind kind, std::span<const GeoPoint> points) {
  if (open_ && place_all(points, 2, plan_.fences)) plan_.fence_kinds.push_back(kind);
}

void AirportPlans::jetway(const JetwayShape& jetway) {
  if (open_) jetways_.push_back(jetway);
}

void AirportPlans::taxiway_sign(const SignShape& s) {
  PlanSign p;
  if (!open_ || !place(s.position, p.position) || !std::isfinite(s.heading)) return;
  p.heading = s.heading;
  p.label_at = static_cast<uint32_t>(plan_.sign_labels.size());
  p.label_size = static_cast<uint32_t>(s.label.size());
  plan_.sign_labels.append(s.label);
  plan_.signs.push_back(p);
}

void AirportPlans::ils(const IlsShape& s) {
  PlanIls p;
  if (!open_ || !place(s.position, p.position) || !std::isfinite(s.heading)) return;
  p.heading = s.heading;
  // A beam width that is not sound is drawn as the usual 5 degrees.
  p.width = size_ok(s.width, 45) ? s.width : 5.0;
  p.frequency_mhz = std::isfinite(s.frequency_mhz) ? s.frequency_mhz : 0.0;
  p.ident = std::string(s.ident);
  plan_.ils.push_back(std::move(p));
}

void AirportPlans::resolve_paths() {
  // Each taxi name once: paths that name the same text by different entries share it.
  std::vector<uint32_t> name_of(taxi_names_.size(), kNoName);
  std::map<std::string_view, uint32_t> seen;
  for (size_t i = 0; i < taxi_names_.size(); ++i) {
    if (taxi_names_[i].empty()) continue;
    const auto [it, added] = seen.try_emplace(taxi_names_[i], plan_.names.size());
    if (added) plan_.names.push_back(taxi_names_[i]);
    name_of[i] = it->second;
  }
  auto is_point = [this](uint32_t i) { return i < points_.size() && !(points_[i] == kNoPoint); };
  plan_.paths.reserve(paths_.size());
  for (const PathShape& s : paths_) {
    if (!size_ok(s.width, kWidestPath) || !is_point(s.start)) continue;
    PlanPath p;
    p.from = points_[s.start];
    if (s.type == kPathParking) {
      if (s.end >= parking_at_.size() || parking_at_[s.end] == kNone) continue;
      p.to = tenths_of(plan_.parkings[parking_at_[s.end]].position);
    } else {
      if (!is_point(s.end)) continue;
      p.to = points_[s.end];
    }
    p.type = s.type;
    p.width = s.width;
    plan_.path_bounds.add(vec_of(p.from), p.width / 2);
    plan_.path_bounds.add(vec_of(p.to), p.width / 2);
    // A runway path is named by its runway, which the plan draws itself.
    if (s.type != kPathRunway && s.name_or_number < name_of.size()) {
      p.name = name_of[s.name_or_number];
    }
    plan_.paths.push_back(p);
  }
}

void AirportPlans::resolve_jetways() {
  for (const JetwayShape& s : jetways_) {
    PlanJetway j;
    if (!s.has_position || !place(s.position, j.from)) continue;
    const PlanParking* served = nullptr;
    for (const PlanParking& p : plan_.parkings) {
      if (p.name_code == s.gate_name && p.number == s.parking_number) served = &p;
    }
    if (served != nullptr) {
      // From the jetway to the edge of the parking circle that faces it.
      const double dx = served->position.x - j.from.x;
      const double dy = served->position.y - j.from.y;
      const double distance = std::hypot(dx, dy);
      const double reach = distance > served->radius ? distance - served->radius : distance;
      j.to = distance > 0 ? Vec{j.from.x + dx / distance * reach, j.from.y + dy / distance * reach}
                          : j.from;
    } else if (std::isfinite(s.heading)) {
      // A jetway whose parking place is not in the plan: a short arm along its heading.
      const double a = s.heading * kPi / 180.0;
      j.to = {j.from.x + 15 * std::sin(a), j.from.y + 15 * std::cos(a)};
    } else {
      continue;
    }
    plan_.jetways.push_back(j);
  }
}

}  // namespace terrova::plan
