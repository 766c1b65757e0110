// The airport plans of -p: a geometry listener that collects each airport's ground layout while the
// document is written and, when the airport ends, hands its SVG plan to a file sink under the name
// "<document name without .xml>.<ident>.svg" (a second airport with the same ident gets "_2", a
// third "_3", ...).
//
// What is collected is checked first: a shape with a position that is not a number or lies far
// outside its airport, or with a size that is not a number, zero, negative or absurdly large, is
// left out of the plan, and so is a path whose ends name no point or parking place.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "bgl/context.h"
#include "plan/plan_data.h"
#include "text/output.h"

namespace terrova::plan {

// How far from the reference point a shape may lie and still belong to its airport, in metres.
constexpr double kFarthest = 30000;

class AirportPlans final : public GeometryListener {
 public:
  // `base_name` is the document's file name without its ".xml"; `files` receives each plan.
  AirportPlans(std::string base_name, ExtraFileSink& files);
  // A plan still held is handed over.
  ~AirportPlans() override;
  AirportPlans(const AirportPlans&) = delete;
  AirportPlans& operator=(const AirportPlans&) = delete;

  // The plan of the last airport is held until the next airport ends or this is called, so that
  // the caller can write it while the document's last bytes are written on the writer's thread.
  void finish();

  void begin_airport(const AirportPlace& airport) override;
  void end_airport() override;
  void tower(const GeoPoint& position) override;
  void runway(const RunwayShape& runway) override;
  void helipad(const HelipadShape& helipad) override;
  void start(const StartShape& start) override;
  void taxiway_point(uint32_t index, const GeoPoint& position) override;
  void parking(uint32_t index, const ParkingShape& parking) override;
  void taxiway_path(const PathShape& path) override;
  void taxi_name(uint32_t index, std::string_view name) override;
  void apron(std::span<const GeoPoint> outline) override;
  void edge_lights(std::span<const GeoPoint> line) override;
  void fence(FenceKind kind, std::span<const GeoPoint> line) override;
  void jetway(const JetwayShape& jetway) override;
  void taxiway_sign(const SignShape& sign) override;
  void ils(const IlsShape& ils) override;

  // The plans handed to the sink so far.
  uint32_t written() const { return written_; }

 private:
  // The position in the local plane; false when it is not a number or lies too far away.
  bool place(const GeoPoint& point, Vec& local) const;
  // Adds the line to `lines` when it has at least `least` points and every one is placed.
  bool place_all(std::span<const GeoPoint> points, size_t least, PlanLines& lines) const;
  void resolve_paths();
  void resolve_jetways();
  std::string next_file_name();

  std::string base_name_;
  ExtraFileSink& files_;
  bool open_ = false;
  GeoPoint reference_;
  double metres_per_degree_lon_ = 0;
  PlanData plan_;
  // The taxiway network by the indices that paths name (dense: the lists count from 0),
  // resolved when the airport ends.
  static constexpr size_t kNone = ~size_t{0};
  static constexpr Tenths kNoPoint{std::numeric_limits<int32_t>::min(), 0};
  std::vector<Tenths> points_;      // kNoPoint where the index names no point
  std::vector<size_t> parking_at_;  // index -> position in plan_.parkings, or kNone
  std::vector<std::string> taxi_names_;
  std::vector<PathShape> paths_;
  std::vector<JetwayShape> jetways_;
  std::map<std::string, uint32_t> ident_uses_;
  // The text of the last plan, held for `finish`, and the buffers of its writer, kept from one
  // airport to the next.
  std::string svg_;
  OutputStorage storage_;
  std::string pending_name_;
  bool pending_ = false;
  uint32_t written_ = 0;
};

// The file name part for an ident: letters, digits, "-" and "_" kept, anything else "_"; "_" when
// empty.
std::string ident_file_part(std::string_view ident);

}  // namespace terrova::plan
