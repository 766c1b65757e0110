#include "index/report.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

#include "bgl/facts.h"
#include "index/file_facts.h"
#include "index/library_index.h"

namespace terrova::index {
namespace {

struct FileInfo {
  int64_t layer_id = 0;
  std::string relative;
  bool read = false;
  std::string status;
  int64_t malformed = 0;
};

struct Definition {
  int64_t airport_id = 0;
  std::string ident;
  int64_t file_id = 0;
  int64_t approaches = 0, ils = 0, sids = 0, stars = 0;
  int64_t runways = 0, helipads = 0;
  bool has_delete = false;
  uint32_t deletes = 0;
};

// The procedure kinds whose loss the report names: the `DeletedKind` bit and the count of each.
struct ProcedureKind {
  uint32_t bit;
  const char* name;
  int64_t Definition::*count;
};
constexpr ProcedureKind kProcedureKinds[] = {
    {kDeletesApproaches, "approaches", &Definition::approaches},
    {kDeletesIls,        "ILS",        &Definition::ils       },
    {kDeletesSids,       "SIDs",       &Definition::sids      },
    {kDeletesStars,      "STARs",      &Definition::stars     },
};

struct Exclusion {
  int64_t id, file_id;
  double lat_min, lat_max, lon_min, lon_max;
  uint32_t excludes;
  bool all;
  int64_t below;  // it hides the objects of files before this one: those of lower layers
};

// The exclusions by the one-degree cells they touch; those that touch very many cells are tested
// against every object.
class ExclusionGrid {
 public:
  static constexpr size_t kNone = SIZE_MAX;
  static constexpr int64_t kMostCells = 400;

  explicit ExclusionGrid(const std::vector<Exclusion>& exclusions) : exclusions_(exclusions) {
    for (size_t i = 0; i < exclusions.size(); ++i) {
      const Exclusion& e = exclusions[i];
      if (!(e.lat_min <= e.lat_max && e.lon_min <= e.lon_max)) continue;  // NaN or empty
      const int64_t lat0 = cell(e.lat_min), lat1 = cell(e.lat_max);
      const int64_t lon0 = cell(e.lon_min), lon1 = cell(e.lon_max);
      if ((lat1 - lat0 + 1) * (lon1 - lon0 + 1) > kMostCells) {
        large_.push_back(i);
        continue;
      }
      for (int64_t lat = lat0; lat <= lat1; ++lat) {
        for (int64_t lon = lon0; lon <= lon1; ++lon) cells_[key(lat, lon)].push_back(i);
      }
    }
  }

  // The first exclusion that hides the object, or kNone.
  size_t find(double lat, double lon, int64_t file_id, uint32_t object_class) const {
    size_t best = kNone;
    auto test = [&](size_t i) {
      const Exclusion& e = exclusions_[i];
      if (i >= best || file_id >= e.below) return;
      if (lat < e.lat_min || lat > e.lat_max || lon < e.lon_min || lon > e.lon_max) return;
      if (!e.all && (e.excludes & object_class) == 0) return;
      best = i;
    };
    const auto found = cells_.find(key(cell(lat), cell(lon)));
    if (found != cells_.end()) {
      for (size_t i : found->second) test(i);
    }
    for (size_t i : large_) test(i);
    return best;
  }

 private:
  static int64_t cell(double degrees) {
    if (!(degrees > -1000 && degrees < 1000)) return 0;
    return static_cast<int64_t>(std::floor(degrees));
  }
  static int64_t key(int64_t lat, int64_t lon) { return lat * 4096 + lon; }

  const std::vector<Exclusion>& exclusions_;
  std::map<int64_t, std::vector<size_t>> cells_;
  std::vector<size_t> large_;
};

class Reporter {
 public:
  Reporter(Database& db, const library::Library& library, std::vector<std::string>& report)
      : db_(db), library_(library), report_(report) {}

  bool run() {
    load_files();
    const bool done = derive_airports() && derive_exclusions();
    if (!done) return false;
    write_report();
    return db_.error().empty();
  }

 private:
  std::string layer_label(int64_t layer_id) const {
    if (layer_id < 1 || static_cast<size_t>(layer_id) > library_.layers.size()) return "?";
    const library::Layer& l = library_.layers[static_cast<size_t>(layer_id - 1)];
    return l.title + " (layer " + std::to_string(l.layer) + ")";
  }
  std::string file_label(int64_t file_id) const {
    const auto found = files_.find(file_id);
    if (found == files_.end()) return "?";
    return layer_label(found->second.layer_id) + ": " + found->second.relative;
  }
  int64_t layer_of(int64_t file_id) const {
    const auto found = files_.find(file_id);
    return found == files_.end() ? 0 : found->second.layer_id;
  }
  bool is_stock(int64_t file_id) const {
    const int64_t layer = layer_of(file_id);
    return layer >= 1 && static_cast<size_t>(layer) <= library_.layers.size() &&
           is_stock_layer(library_.layers[static_cast<size_t>(layer - 1)]);
  }

  void load_files() {
    Statement files = db_.prepare(
        "SELECT file_id, layer_id, relative, read, status, malformed FROM files ORDER BY file_id");
    while (files.step()) {
      FileInfo& info = files_[files.integer(0)];
      info.layer_id = files.integer(1);
      info.relative = files.text(2);
      info.read = files.integer(3) != 0;
      info.status = files.text(4);
      info.malformed = files.integer(5);
    }
  }

  bool derive_airports() {
    std::vector<Definition> all;
    {
      Statement query = db_.prepare(
          "SELECT airport_id, ident, file_id, approaches, ils, sids, stars, has_delete, deletes, "
          "runways, helipads "
          "FROM airports ORDER BY ident, file_id, offset");
      while (query.step()) {
        Definition& d = all.emplace_back();
        d.airport_id = query.integer(0);
        d.ident = query.text(1);
        d.file_id = query.integer(2);
        d.approaches = query.integer(3);
        d.ils = query.integer(4);
        d.sids = query.integer(5);
        d.stars = query.integer(6);
        d.has_delete = query.integer(7) != 0;
        d.deletes = static_cast<uint32_t>(query.integer(8));
        d.runways = query.integer(9);
        d.helipads = query.integer(10);
      }
    }
    Statement update = db_.prepare(
        "UPDATE airports SET definition = ?, definitions = ?, wins = ?, taken = ?, taken_what = ? "
        "WHERE airport_id = ?");
    for (size_t first = 0; first < all.size();) {
      size_t end = first;
      while (end < all.size() && all[end].ident == all[first].ident) ++end;
      const std::vector<Definition> group(all.begin() + static_cast<ptrdiff_t>(first),
                                          all.begin() + static_cast<ptrdiff_t>(end));
      // What the deletions loaded after each definition take from it.
      uint32_t later = 0;
      std::vector<uint32_t> taken(group.size());
      for (size_t i = group.size(); i-- > 0;) {
        taken[i] = later;
        if (group[i].has_delete) later |= group[i].deletes;
      }
      for (size_t i = 0; i < group.size(); ++i) {
        update.bind(1, static_cast<int64_t>(i + 1));
        update.bind(2, static_cast<int64_t>(group.size()));
        update.bind(3, int64_t{i + 1 == group.size()});
        update.bind(4, int64_t{taken[i]});
        const std::string what = deleted_kind_names(taken[i]);
        if (what.empty()) {
          update.bind_null(5);
        } else {
          update.bind(5, what);
        }
        update.bind(6, group[i].airport_id);
        update.run();
      }
      note_airport(group);
      first = end;
    }
    return db_.error().empty();
  }

  void note_airport(const std::vector<Definition>& group) {
    const Definition& winner = group.back();
    const std::string& ident = winner.ident;
    if (group.size() > 1) {
      duplicates_.push_back("  " + ident + ", " + std::to_string(group.size()) +
                            " definitions; the last loaded wins:");
      for (size_t i = 0; i < group.size(); ++i) {
        duplicates_.push_back("    " + std::to_string(i + 1) + ". " + file_label(group[i].file_id) +
                              (i + 1 == group.size() ? "  <- wins" : ""));
      }
    }
    // An airport that the library deletes and that no definition puts back: the stock airport it
    // deletes is not in the library, and nothing of the library has a runway or helipad there.
    int64_t landing_places = 0;
    for (const Definition& d : group) landing_places += d.runways + d.helipads;
    if (group.front().has_delete && landing_places == 0) {
      orphan_deletions_.push_back("  " + ident + ": " + file_label(group.front().file_id) +
                                  " deletes " + or_none(deleted_kind_names(group.front().deletes)));
    }
    for (const ProcedureKind& kind : kProcedureKinds) {
      // The last deletion of the kind: what was loaded before it is gone, and only what it and
      // the definitions after it bring remains.
      size_t last = group.size();
      for (size_t i = 0; i < group.size(); ++i) {
        if (group[i].has_delete && (group[i].deletes & kind.bit) != 0) last = i;
      }
      if (last == group.size()) continue;
      int64_t before = 0, after = 0;
      for (size_t i = 0; i < group.size(); ++i) (i < last ? before : after) += group[i].*kind.count;
      if (before == 0 || after != 0) continue;
      lost_.push_back("  " + ident + ": " + std::to_string(before) + " " + kind.name +
                      " taken away by the DeleteAirport of " + file_label(group[last].file_id) +
                      "; nothing loaded after it brings any back");
    }
    if (!is_stock(winner.file_id)) {
      for (const Definition& d : group) {
        if (!is_stock(d.file_id)) continue;
        stock_.push_back("  " + ident + ": stock in " + file_label(d.file_id) + ", replaced by " +
                         file_label(winner.file_id));
        break;
      }
    }
  }

  // Which exclusion hides each object: the first, in file order, that covers it, hides its
  // class and lies in a layer above the object's. Objects are matched in memory against a grid of
  // one-degree cells, so that each is tested against the exclusions near it only.
  bool derive_exclusions() {
    std::map<int64_t, int64_t> first_file_of_layer;
    for (const auto& [file_id, info] : files_)
      first_file_of_layer.try_emplace(info.layer_id, file_id);
    std::vector<Exclusion> exclusions;
    {
      Statement query = db_.prepare(
          "SELECT exclusion_id, file_id, lat_min, lat_max, lon_min, lon_max, excludes, all_objects "
          "FROM exclusions ORDER BY exclusion_id");
      while (query.step()) {
        Exclusion e{query.integer(0),
                    query.integer(1),
                    query.real(2),
                    query.real(3),
                    query.real(4),
                    query.real(5),
                    static_cast<uint32_t>(query.integer(6)),
                    query.integer(7) != 0,
                    0};
        const auto first = first_file_of_layer.find(layer_of(e.file_id));
        e.below = first != first_file_of_layer.end() ? first->second : e.file_id;
        exclusions.push_back(e);
      }
    }
    if (exclusions.empty()) return db_.error().empty();
    ExclusionGrid grid(exclusions);

    std::map<std::pair<size_t, int64_t>, int64_t> hidden_by_layer;  // (exclusion, layer) -> count
    std::map<int64_t, int64_t> hidden_in_file;
    std::vector<int64_t> hidden_count(exclusions.size());
    Statement objects = db_.prepare("SELECT rowid, file_id, lat, lon, class FROM objects");
    Statement hide = db_.prepare("UPDATE objects SET excluded_by = ? WHERE rowid = ?");
    while (objects.step()) {
      if (objects.is_null(2) || objects.is_null(3)) continue;
      const int64_t file_id = objects.integer(1);
      const size_t found = grid.find(objects.real(2), objects.real(3), file_id,
                                     static_cast<uint32_t>(objects.integer(4)));
      if (found == ExclusionGrid::kNone) continue;
      hide.bind(1, exclusions[found].id);
      hide.bind(2, objects.integer(0));
      hide.run();
      ++hidden_count[found];
      ++hidden_by_layer[{found, layer_of(file_id)}];
      ++hidden_in_file[file_id];
    }
    Statement count =
        db_.prepare("UPDATE exclusions SET hidden_objects = ? WHERE exclusion_id = ?");
    for (size_t i = 0; i < exclusions.size(); ++i) {
      if (hidden_count[i] == 0) continue;
      count.bind(1, hidden_count[i]);
      count.bind(2, exclusions[i].id);
      count.run();
    }
    Statement set_file = db_.prepare("UPDATE files SET hidden_objects = ? WHERE file_id = ?");
    for (const auto& [file_id, n] : hidden_in_file) {
      set_file.bind(1, n);
      set_file.bind(2, file_id);
      set_file.run();
    }
    for (const auto& [key, n] : hidden_by_layer) {
      exclusions_.push_back("  " + file_label(exclusions[key.first].file_id) + " hides " +
                            std::to_string(n) + " objects of " + layer_label(key.second));
    }
    return db_.error().empty();
  }

  static std::string or_none(const std::string& text) { return text.empty() ? "nothing" : text; }

  void section(const char* heading, const std::vector<std::string>& lines) {
    report_.push_back(std::string(heading) + (lines.empty() ? ": none" : ":"));
    report_.insert(report_.end(), lines.begin(), lines.end());
  }

  void write_report() {
    size_t active = 0;
    for (const library::Layer& l : library_.layers) active += l.active ? 1 : 0;
    size_t read = 0;
    std::vector<std::string> unread, damaged;
    for (const auto& [file_id, info] : files_) {
      if (info.read) ++read;
      if (info.status.rfind("failed", 0) == 0) {
        unread.push_back("  " + file_label(file_id) + ": " + info.status);
      }
      if (info.malformed != 0) {
        damaged.push_back("  " + file_label(file_id) + ": " + std::to_string(info.malformed) +
                          " malformed structures skipped");
      }
    }
    report_.push_back("Library: " + library_.kind + ", " + std::to_string(library_.layers.size()) +
                      " layers (" + std::to_string(active) + " active), " +
                      std::to_string(files_.size()) + " files, " + std::to_string(read) + " read");
    std::vector<std::string> missing, missing_folders, inactive;
    for (size_t i = 0; i < library_.layers.size(); ++i) {
      const library::Layer& l = library_.layers[i];
      const std::string label = layer_label(static_cast<int64_t>(i + 1));
      for (const std::string& name : l.missing) missing.push_back("  " + label + ": " + name);
      if (l.folder_missing) missing_folders.push_back("  " + label + ": " + l.folder);
      if (!l.active) inactive.push_back("  " + label + ": " + l.folder);
    }
    section("Airports defined more than once", duplicates_);
    section("Procedures lost to deletions", lost_);
    section("Airports deleted that no layer defines or puts back", orphan_deletions_);
    section("Exclusion rectangles over the objects of other layers", exclusions_);
    section("Stock airports replaced by an add-on", stock_);
    section("Files that a layout.json lists and that are missing", missing);
    section("Areas whose folder is missing", missing_folders);
    section("Inactive areas (listed, not read)", inactive);
    section("Files that could not be read", unread);
    section("Damaged files", damaged);
    std::vector<std::string> problems;
    for (const std::string& p : library_.problems) problems.push_back("  " + p);
    section("Problems with configuration files", problems);
  }

  Database& db_;
  const library::Library& library_;
  std::vector<std::string>& report_;
  std::map<int64_t, FileInfo> files_;
  std::vector<std::string> duplicates_, lost_, orphan_deletions_, exclusions_, stock_;
};

}  // namespace

bool derive_and_report(Database& db, const library::Library& library,
                       std::vector<std::string>& report) {
  return Reporter(db, library, report).run();
}

}  // namespace terrova::index
