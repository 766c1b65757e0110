// The facts of one decoded file, kept in memory until the index writes them: a `FactsListener`
// that copies what each call hands it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bgl/facts.h"

namespace terrova::index {

struct AirportRow {
  std::string ident;
  std::string name;
  double lat = 0;
  double lon = 0;
  uint16_t record_id = 0;
  uint32_t offset = 0;
  std::array<uint32_t, kAirportPartCount> parts{};  // by `AirportPart`
  bool has_delete = false;
  DeleteAirportFact deletion;
};

struct NavaidRow {
  const char* kind = "";
  std::string ident;
  std::string region;
  std::string airport;
  double lat = 0;
  double lon = 0;
  uint32_t offset = 0;
};

// Consecutive deletion records of one airport and kind (one in each subsection of a section) are
// kept as one row.
struct NavaidDeletionRow {
  std::string airport;
  uint32_t deletes = 0;
  uint32_t offset = 0;  // of the first record
  uint32_t records = 1;
};

struct ObjectRow {
  const char* kind = "";
  std::string guid;
  std::string name;
  std::string instance;
  double lat = 0;
  double lon = 0;
  uint32_t offset = 0;
};

class FileFacts final : public FactsListener {
 public:
  void airport(const AirportFact& airport) override;
  void airport_part(AirportPart part, uint32_t count) override;
  void delete_airport(const DeleteAirportFact& deletion) override;
  void end_airport() override { in_airport_ = false; }
  void exclusion(const ExclusionFact& exclusion) override { exclusions.push_back(exclusion); }
  void navaid(const NavaidFact& navaid) override;
  void navaid_deletion(std::string_view airport, uint32_t deletes, uint32_t offset) override;
  void scenery_object(const SceneryObjectFact& object) override;

  std::vector<AirportRow> airports;
  std::vector<ExclusionFact> exclusions;
  std::vector<NavaidRow> navaids;
  std::vector<NavaidDeletionRow> navaid_deletions;
  std::vector<ObjectRow> objects;

 private:
  bool in_airport_ = false;
};

// The names of the `DeletedKind` bits, comma-separated ("approaches,runways"); "" for none.
std::string deleted_kind_names(uint32_t deletes);
// The names of the `ExcludedClass` bits ("all" for every object).
std::string excluded_class_names(uint32_t excludes, bool all_objects);
// The `ExcludedClass` bit of an object of the element name `kind`; 0 for kinds that only an
// exclusion of every object hides.
uint32_t excluded_class_of(std::string_view kind);

}  // namespace terrova::index
