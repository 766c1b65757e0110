// The library index: an SQLite file that holds the layers of a scenery library in load order,
// every file with its size, time and what it holds, and the facts of every file (airport
// definitions with their DeleteAirport, exclusion rectangles, navaids and their deletions,
// scenery objects), with the columns and views that tell which definition of each airport wins
// and what later deletions and exclusions take from the others, and the report of the run.
//
// A build writes a new index into a temporary file beside the index and puts it in place of the
// index only when everything was written, so a run that fails halfway leaves the previous index
// as it was. The facts of files whose size and time are those the previous index holds are
// copied from it rather than decoded again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "index/file_facts.h"
#include "index/sqlite.h"
#include "library/library.h"

namespace terrova::index {

// Bumped whenever the tables change or the facts of a file would come out differently, so that
// an index of another version is never reused.
constexpr int kSchemaVersion = 1;

// What the previous index knows of a file.
struct PreviousFile {
  int64_t id = 0;
  uint64_t size = 0;
  int64_t mtime = 0;
  bool read = false;
  std::string status;
  int64_t malformed = 0;
  int64_t airports = 0, navaids = 0, objects = 0, exclusions = 0;
};

struct IndexedFile {
  size_t layer = 0;  // its layer in `Library::layers`
  std::string path;
  std::string relative;
  uint64_t size = 0;
  int64_t mtime = 0;
  // The facts are copied from this file of the previous index; nullptr: from `facts`.
  const PreviousFile* previous = nullptr;
  bool read = false;   // decoded (now or by the run that made the previous index)
  std::string status;  // "read", "not facility data", "no facility data", or what went wrong
  uint32_t malformed = 0;
  FileFacts facts;
};

class IndexBuild {
 public:
  IndexBuild();
  IndexBuild(const IndexBuild&) = delete;
  IndexBuild& operator=(const IndexBuild&) = delete;
  // A build that was not committed removes its temporary file.
  ~IndexBuild();

  // Starts the new index beside `index_path` and reads the file list of the previous index when
  // there is one of this version. False with the reason: the folder cannot be written, or the
  // file there is not an index (it is never replaced).
  bool begin(const std::string& index_path, std::string& error);
  // What the previous index holds of the file when its size and time are unchanged, or nullptr.
  const PreviousFile* reusable(const std::string& path, uint64_t size, int64_t mtime) const;
  // Writes the library: its layers, then each file with its facts in load order (position 0
  // first, each once; the facts are released when written), then the facts reused from the
  // previous index, the derived columns and the report. `add_file` keeps a failure for `finish`.
  bool start(const std::string& library_name, const library::Library& library, std::string& error);
  bool add_file(size_t position, IndexedFile& file);
  bool finish(const library::Library& library, std::string& error);
  // All three for files whose facts are all at hand.
  bool write(const std::string& library_name, const library::Library& library,
             std::vector<IndexedFile>& files, std::string& error);
  // The database's reason for the first failure, "" for none.
  const std::string& database_error() const { return db_.error(); }
  // The report of the run, one line each; also kept in the index.
  const std::vector<std::string>& report() const { return report_; }
  // Puts the new index in place of the previous one.
  bool commit(std::string& error);

 private:
  bool fail(std::string& error, const std::string& what);

  struct Inserts;
  std::unique_ptr<Inserts> inserts_;

  std::string index_path_;
  std::string temporary_;
  bool has_previous_ = false;
  bool committed_ = false;
  std::map<std::string, PreviousFile> previous_;
  Database db_;
  std::vector<std::string> report_;
};

// True when the layer is the simulator's own: an MSFS base or Official package, or a scenery.cfg
// area whose folder lies in a folder named "Scenery" (the stock areas under the simulator's
// Scenery folder).
bool is_stock_layer(const library::Layer& layer);

}  // namespace terrova::index
