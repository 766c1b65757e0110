#include "index/library_index.h"

#include <cstdio>

#include "index/report.h"
#include "platform/platform.h"

namespace terrova::index {
namespace {

// The temporary file is written without a journal: it becomes the index only when it is whole.
// The view airport_definitions tests the deletion bits by their values: keep them in step.
static_assert(kDeletesApproaches == 1 && kDeletesRunways == 16 && kDeletesSids == 128 &&
                  kDeletesStars == 256 && kDeletesIls == 512,
              "the bits the airport_definitions view tests");
constexpr const char* kSchema = R"sql(
PRAGMA journal_mode = OFF;
PRAGMA synchronous = OFF;
PRAGMA temp_store = MEMORY;
PRAGMA main.locking_mode = EXCLUSIVE;
PRAGMA cache_size = -65536;
CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE layers (
  layer_id INTEGER PRIMARY KEY,  -- load order, low to high
  kind TEXT, title TEXT, folder TEXT, origin TEXT, layer INTEGER,
  active INTEGER, folder_missing INTEGER, stock INTEGER, files INTEGER);
CREATE TABLE files (
  file_id INTEGER PRIMARY KEY,   -- load order over the whole library
  layer_id INTEGER, path TEXT, relative TEXT, size INTEGER, mtime INTEGER,
  read INTEGER, status TEXT, malformed INTEGER,
  airports INTEGER, navaids INTEGER, objects INTEGER, exclusions INTEGER,
  hidden_objects INTEGER DEFAULT 0);
CREATE TABLE missing_files (layer_id INTEGER, relative TEXT);
CREATE TABLE problems (text TEXT);
CREATE TABLE airports (
  airport_id INTEGER PRIMARY KEY, file_id INTEGER, offset INTEGER,
  ident TEXT, name TEXT, lat REAL, lon REAL, record_id INTEGER,
  runways INTEGER, starts INTEGER, parking INTEGER, paths INTEGER, aprons INTEGER,
  helipads INTEGER, ils INTEGER, approaches INTEGER, sids INTEGER, stars INTEGER,
  has_delete INTEGER, deletes INTEGER, deletes_what TEXT,
  delete_runways INTEGER, delete_starts INTEGER, delete_frequencies INTEGER,
  definition INTEGER, definitions INTEGER, wins INTEGER, taken INTEGER, taken_what TEXT);
CREATE TABLE exclusions (
  exclusion_id INTEGER PRIMARY KEY, file_id INTEGER, offset INTEGER,
  lat_min REAL, lat_max REAL, lon_min REAL, lon_max REAL,
  excludes INTEGER, all_objects INTEGER, excludes_what TEXT, hidden_objects INTEGER DEFAULT 0);
CREATE TABLE navaids (
  file_id INTEGER, offset INTEGER, kind TEXT, ident TEXT, region TEXT, airport TEXT,
  lat REAL, lon REAL);
CREATE TABLE navaid_deletions (
  file_id INTEGER, offset INTEGER, airport TEXT, deletes INTEGER, deletes_what TEXT,
  records INTEGER);
CREATE TABLE objects (
  file_id INTEGER, offset INTEGER, kind TEXT, class INTEGER, guid TEXT, name TEXT,
  instance TEXT, lat REAL, lon REAL, excluded_by INTEGER);
CREATE TABLE report (line INTEGER PRIMARY KEY, text TEXT);
CREATE VIEW airport_definitions AS
  SELECT a.ident, a.definition, a.definitions, a.wins, l.layer_id, l.title AS layer_title,
         l.layer, f.relative AS file, a.offset, a.name, a.lat, a.lon, a.record_id,
         a.runways, a.starts, a.parking, a.paths, a.aprons, a.helipads, a.ils, a.approaches,
         a.sids, a.stars, a.has_delete, a.deletes_what, a.taken_what,
         CASE WHEN a.taken & 16 THEN 0 ELSE a.runways END AS runways_left,
         CASE WHEN a.taken & 1 THEN 0 ELSE a.approaches END AS approaches_left,
         CASE WHEN a.taken & 512 THEN 0 ELSE a.ils END AS ils_left,
         CASE WHEN a.taken & 128 THEN 0 ELSE a.sids END AS sids_left,
         CASE WHEN a.taken & 256 THEN 0 ELSE a.stars END AS stars_left,
         f.hidden_objects AS file_objects_hidden
  FROM airports a JOIN files f ON f.file_id = a.file_id JOIN layers l ON l.layer_id = f.layer_id
  ORDER BY a.ident, a.definition;
CREATE VIEW airport_summary AS
  SELECT ident, count(*) AS definitions,
         max(CASE WHEN wins THEN layer_title END) AS winning_layer,
         max(CASE WHEN wins THEN file END) AS winning_file,
         max(CASE WHEN wins THEN name END) AS name,
         sum(runways_left) AS runways, sum(approaches_left) AS approaches,
         sum(ils_left) AS ils, sum(sids_left) AS sids, sum(stars_left) AS stars
  FROM airport_definitions GROUP BY ident;
)sql";

constexpr const char* kIndexes = R"sql(
CREATE INDEX airports_by_ident ON airports (ident, file_id, offset);
CREATE INDEX navaids_by_ident ON navaids (ident);
)sql";

// The facts of the files reused from the previous index, by the new file id of each.
constexpr const char* kCopyPrevious = R"sql(
INSERT INTO airports (file_id, offset, ident, name, lat, lon, record_id, runways, starts, parking,
                      paths, aprons, helipads, ils, approaches, sids, stars, has_delete, deletes,
                      deletes_what, delete_runways, delete_starts, delete_frequencies)
  SELECT r.new_id, offset, ident, name, lat, lon, record_id, runways, starts, parking, paths,
         aprons, helipads, ils, approaches, sids, stars, has_delete, deletes, deletes_what,
         delete_runways, delete_starts, delete_frequencies
  FROM previous.airports a JOIN reused r ON r.old_id = a.file_id ORDER BY r.new_id, a.offset;
INSERT INTO exclusions (file_id, offset, lat_min, lat_max, lon_min, lon_max, excludes,
                        all_objects, excludes_what)
  SELECT r.new_id, offset, lat_min, lat_max, lon_min, lon_max, excludes, all_objects,
         excludes_what
  FROM previous.exclusions e JOIN reused r ON r.old_id = e.file_id;
INSERT INTO navaids SELECT r.new_id, offset, kind, ident, region, airport, lat, lon
  FROM previous.navaids n JOIN reused r ON r.old_id = n.file_id;
INSERT INTO navaid_deletions SELECT r.new_id, offset, airport, deletes, deletes_what, records
  FROM previous.navaid_deletions d JOIN reused r ON r.old_id = d.file_id;
INSERT INTO objects SELECT r.new_id, offset, kind, class, guid, name, instance, lat, lon, NULL
  FROM previous.objects o JOIN reused r ON r.old_id = o.file_id;
)sql";

// True when the folder lies in a folder named "Scenery", in any case.
bool is_stock_folder(const std::string& folder) {
  std::string path = folder;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  while (!path.empty() && path.back() == '/') path.pop_back();
  const size_t last = path.rfind('/');
  if (last == std::string::npos || last == 0) return false;
  const size_t before = path.rfind('/', last - 1);
  const size_t start = before == std::string::npos ? 0 : before + 1;
  std::string parent = path.substr(start, last - start);
  for (char& c : parent) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return parent == "scenery";
}

int64_t as_int(uint64_t value) {
  return value > INT64_MAX ? INT64_MAX : static_cast<int64_t>(value);
}

}  // namespace

// The prepared statements that write the files and their facts.
struct IndexBuild::Inserts {
  Statement file_row, airport, exclusion, navaid, navaid_deletion, object, reused;
};

bool is_stock_layer(const library::Layer& layer) {
  if (layer.origin == "base" || layer.origin == "official") return true;
  return layer.kind == "area" && is_stock_folder(layer.folder);
}

IndexBuild::IndexBuild() = default;

IndexBuild::~IndexBuild() {
  inserts_.reset();
  db_.close();
  if (!committed_ && !temporary_.empty()) platform::remove_file(temporary_.c_str());
}

bool IndexBuild::fail(std::string& error, const std::string& what) {
  error = what + (db_.error().empty() ? "" : " (" + db_.error() + ")");
  return false;
}

bool IndexBuild::begin(const std::string& index_path, std::string& error) {
  index_path_ = index_path;
  if (platform::is_folder(index_path.c_str())) {
    error = "Can't write the index " + index_path + ": it is a folder";
    return false;
  }
  uint64_t size = 0;
  int64_t mtime = 0;
  has_previous_ = platform::file_status(index_path.c_str(), size, mtime) == 0;
  if (has_previous_) {
    Database previous;
    bool ours = previous.open(index_path, false);
    int version = 0;
    if (ours) {
      Statement meta = previous.prepare("SELECT value FROM meta WHERE key = 'schema'");
      ours = meta.step();
      if (ours) version = static_cast<int>(meta.integer(0));
    }
    if (!ours) {
      error = "Error: " + index_path + " is not a library index; it is left as it is";
      return false;
    }
    if (version == kSchemaVersion) {
      Statement files = previous.prepare(
          "SELECT file_id, path, size, mtime, read, status, malformed, airports, navaids, "
          "objects, exclusions FROM files");
      while (files.step()) {
        PreviousFile& file = previous_[files.text(1)];
        file.id = files.integer(0);
        file.size = static_cast<uint64_t>(files.integer(2));
        file.mtime = files.integer(3);
        file.read = files.integer(4) != 0;
        file.status = files.text(5);
        file.malformed = files.integer(6);
        file.airports = files.integer(7);
        file.navaids = files.integer(8);
        file.objects = files.integer(9);
        file.exclusions = files.integer(10);
      }
    } else {
      has_previous_ = false;
    }
  }
  temporary_ = index_path + ".tmp";
  platform::remove_file(temporary_.c_str());
  if (!db_.open(temporary_, true)) {
    const std::string reason = db_.error();
    temporary_.clear();
    error = "Can't write the index " + index_path + " (" + reason + ")";
    return false;
  }
  if (!db_.exec(kSchema)) return fail(error, "Can't write the index " + index_path);
  // The previous contents are copied inside the one transaction that writes the new ones.
  if (has_previous_ && !previous_.empty()) {
    Statement attach = db_.prepare("ATTACH DATABASE ? AS previous");
    attach.bind(1, index_path_);
    if (!attach.run()) return fail(error, "Can't read the index " + index_path);
  }
  if (!db_.exec("BEGIN")) return fail(error, "Can't write the index " + index_path);
  return true;
}

const PreviousFile* IndexBuild::reusable(const std::string& path, uint64_t size,
                                         int64_t mtime) const {
  const auto found = previous_.find(path);
  if (found == previous_.end()) return nullptr;
  const PreviousFile& file = found->second;
  return file.size == size && file.mtime == mtime ? &file : nullptr;
}

bool IndexBuild::start(const std::string& library_name, const library::Library& library,
                       std::string& error) {
  const std::string failure = "Can't write the index " + index_path_;
  {
    Statement meta = db_.prepare("INSERT INTO meta VALUES (?, ?)");
    auto put = [&meta](const char* key, std::string_view value) {
      meta.bind(1, std::string_view(key));
      meta.bind(2, value);
      meta.run();
    };
    put("schema", std::to_string(kSchemaVersion));
    put("library", library_name);
    put("kind", library.kind);
    const platform::LocalTime t = platform::local_time();
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    put("indexed", when);

    Statement layer = db_.prepare("INSERT INTO layers VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Statement missing = db_.prepare("INSERT INTO missing_files VALUES (?, ?)");
    for (size_t i = 0; i < library.layers.size(); ++i) {
      const library::Layer& l = library.layers[i];
      const int64_t id = static_cast<int64_t>(i + 1);
      layer.bind(1, id);
      layer.bind(2, l.kind);
      layer.bind(3, l.title);
      layer.bind(4, l.folder);
      layer.bind(5, l.origin);
      layer.bind(6, l.layer);
      layer.bind(7, int64_t{l.active});
      layer.bind(8, int64_t{l.folder_missing});
      layer.bind(9, int64_t{is_stock_layer(l)});
      layer.bind(10, static_cast<int64_t>(l.files.size()));
      layer.run();
      for (const std::string& name : l.missing) {
        missing.bind(1, id);
        missing.bind(2, name);
        missing.run();
      }
    }
    Statement problem = db_.prepare("INSERT INTO problems VALUES (?)");
    for (const std::string& text : library.problems) {
      problem.bind(1, text);
      problem.run();
    }
  }
  if (!db_.error().empty()) return fail(error, failure);

  inserts_ = std::make_unique<Inserts>();
  Inserts& ins = *inserts_;
  ins.file_row = db_.prepare("INSERT INTO files VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)");
  ins.airport = db_.prepare(
      "INSERT INTO airports (file_id, offset, ident, name, lat, lon, record_id, runways, starts, "
      "parking, paths, aprons, helipads, ils, approaches, sids, stars, has_delete, deletes, "
      "deletes_what, delete_runways, delete_starts, delete_frequencies) VALUES (?, ?, ?, ?, ?, ?, "
      "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  ins.exclusion = db_.prepare(
      "INSERT INTO exclusions (file_id, offset, lat_min, lat_max, lon_min, lon_max, excludes, "
      "all_objects, excludes_what) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
  ins.navaid = db_.prepare("INSERT INTO navaids VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
  ins.navaid_deletion = db_.prepare("INSERT INTO navaid_deletions VALUES (?, ?, ?, ?, ?, ?)");
  ins.object = db_.prepare("INSERT INTO objects VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL)");
  if (!db_.exec("CREATE TEMP TABLE reused (old_id INTEGER, new_id INTEGER PRIMARY KEY); "
                "CREATE INDEX reused_by_old_id ON reused (old_id)")) {
    return fail(error, failure);
  }
  ins.reused = db_.prepare("INSERT INTO reused VALUES (?, ?)");
  if (!db_.error().empty()) return fail(error, failure);

  return true;
}

bool IndexBuild::add_file(size_t position, IndexedFile& file) {
  Inserts& ins = *inserts_;
  static constexpr AirportPart kColumns[] = {
      AirportPart::kRunway, AirportPart::kStart,   AirportPart::kParking, AirportPart::kPath,
      AirportPart::kApron,  AirportPart::kHelipad, AirportPart::kIls,     AirportPart::kApproach,
      AirportPart::kSid,    AirportPart::kStar};
  const IndexedFile& f = file;
  const int64_t id = static_cast<int64_t>(position + 1);
  const FileFacts& facts = f.facts;
  const PreviousFile* p = f.previous;
  ins.file_row.bind(1, id);
  ins.file_row.bind(2, static_cast<int64_t>(f.layer + 1));
  ins.file_row.bind(3, f.path);
  ins.file_row.bind(4, f.relative);
  ins.file_row.bind(5, as_int(f.size));
  ins.file_row.bind(6, f.mtime);
  ins.file_row.bind(7, int64_t{f.read});
  ins.file_row.bind(8, f.status);
  ins.file_row.bind(9, int64_t{f.malformed});
  ins.file_row.bind(10, p != nullptr ? p->airports : static_cast<int64_t>(facts.airports.size()));
  ins.file_row.bind(11, p != nullptr ? p->navaids : static_cast<int64_t>(facts.navaids.size()));
  ins.file_row.bind(12, p != nullptr ? p->objects : static_cast<int64_t>(facts.objects.size()));
  ins.file_row.bind(13,
                    p != nullptr ? p->exclusions : static_cast<int64_t>(facts.exclusions.size()));
  ins.file_row.run();
  if (p != nullptr) {
    ins.reused.bind(1, p->id);
    ins.reused.bind(2, id);
    ins.reused.run();
    return db_.error().empty();
  }
  for (const AirportRow& a : facts.airports) {
    ins.airport.bind(1, id);
    ins.airport.bind(2, int64_t{a.offset});
    ins.airport.bind(3, a.ident);
    ins.airport.bind(4, a.name);
    ins.airport.bind(5, a.lat);
    ins.airport.bind(6, a.lon);
    ins.airport.bind(7, int64_t{a.record_id});
    int at = 8;
    for (AirportPart part : kColumns) {
      ins.airport.bind(at++, int64_t{a.parts[static_cast<size_t>(part)]});
    }
    ins.airport.bind(18, int64_t{a.has_delete});
    ins.airport.bind(19, int64_t{a.deletion.deletes});
    ins.airport.bind(20, deleted_kind_names(a.deletion.deletes));
    ins.airport.bind(21, int64_t{a.deletion.runways});
    ins.airport.bind(22, int64_t{a.deletion.starts});
    ins.airport.bind(23, int64_t{a.deletion.frequencies});
    ins.airport.run();
  }
  for (const ExclusionFact& e : facts.exclusions) {
    ins.exclusion.bind(1, id);
    ins.exclusion.bind(2, int64_t{e.offset});
    ins.exclusion.bind(3, e.lat_min);
    ins.exclusion.bind(4, e.lat_max);
    ins.exclusion.bind(5, e.lon_min);
    ins.exclusion.bind(6, e.lon_max);
    ins.exclusion.bind(7, int64_t{e.excludes});
    ins.exclusion.bind(8, int64_t{e.all_objects});
    ins.exclusion.bind(9, excluded_class_names(e.excludes, e.all_objects));
    ins.exclusion.run();
  }
  for (const NavaidRow& n : facts.navaids) {
    ins.navaid.bind(1, id);
    ins.navaid.bind(2, int64_t{n.offset});
    ins.navaid.bind(3, std::string_view(n.kind));
    ins.navaid.bind(4, n.ident);
    ins.navaid.bind(5, n.region);
    if (n.airport.empty()) {
      ins.navaid.bind_null(6);
    } else {
      ins.navaid.bind(6, n.airport);
    }
    ins.navaid.bind(7, n.lat);
    ins.navaid.bind(8, n.lon);
    ins.navaid.run();
  }
  for (const NavaidDeletionRow& d : facts.navaid_deletions) {
    ins.navaid_deletion.bind(1, id);
    ins.navaid_deletion.bind(2, int64_t{d.offset});
    ins.navaid_deletion.bind(3, d.airport);
    ins.navaid_deletion.bind(4, int64_t{d.deletes});
    ins.navaid_deletion.bind(5, deleted_kind_names(d.deletes));
    ins.navaid_deletion.bind(6, int64_t{d.records});
    ins.navaid_deletion.run();
  }
  for (const ObjectRow& o : facts.objects) {
    ins.object.bind(1, id);
    ins.object.bind(2, int64_t{o.offset});
    ins.object.bind(3, std::string_view(o.kind));
    ins.object.bind(4, int64_t{excluded_class_of(o.kind)});
    auto text_or_null = [&ins](int at, const std::string& text) {
      if (text.empty()) {
        ins.object.bind_null(at);
      } else {
        ins.object.bind(at, text);
      }
    };
    text_or_null(5, o.guid);
    text_or_null(6, o.name);
    text_or_null(7, o.instance);
    ins.object.bind(8, o.lat);
    ins.object.bind(9, o.lon);
    ins.object.run();
  }
  file.facts = FileFacts();
  return db_.error().empty();
}

bool IndexBuild::finish(const library::Library& library, std::string& error) {
  const std::string failure = "Can't write the index " + index_path_;
  inserts_.reset();
  if (has_previous_ && !previous_.empty() && !db_.exec(kCopyPrevious)) {
    return fail(error, failure + ": the previous index could not be read");
  }
  if (!db_.exec(kIndexes)) return fail(error, failure);
  report_.clear();
  if (!derive_and_report(db_, library, report_)) return fail(error, failure);
  Statement line = db_.prepare("INSERT INTO report VALUES (?, ?)");
  for (size_t i = 0; i < report_.size(); ++i) {
    line.bind(1, static_cast<int64_t>(i + 1));
    line.bind(2, report_[i]);
    line.run();
  }
  if (!db_.error().empty() || !db_.exec("COMMIT")) return fail(error, failure);
  return true;
}

bool IndexBuild::write(const std::string& library_name, const library::Library& library,
                       std::vector<IndexedFile>& files, std::string& error) {
  if (!start(library_name, library, error)) return false;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!add_file(i, files[i])) return fail(error, "Can't write the index " + index_path_);
  }
  return finish(library, error);
}

bool IndexBuild::commit(std::string& error) {
  db_.close();
  if (int code = platform::rename_file(temporary_.c_str(), index_path_.c_str())) {
    error = "Can't write the index " + index_path_ + " (" + platform::system_error_text(code) + ")";
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace terrova::index
