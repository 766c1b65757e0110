// The model files of a folder run. Inputs of one folder share one output folder, and different
// inputs may embed different models under one name (one GUID). The names are settled file by
// file in the order of the folder's files, whatever the number of jobs: a model that an earlier
// file wrote into the same folder with the same bytes is not written again; one with other bytes
// takes the next free name "<name>_2.mdl", "_3", ... Within one file a name that comes again is
// written again, as in a single run.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "bgl/context.h"
#include "driver/model_files.h"

namespace terrova {

// A model file as a decode hands it over: its file name and bytes (a view into the input).
struct FoundModel {
  std::string name;
  std::string_view bytes;
};

// The model files that the document of the image writes, in order, found by the same decoder
// that writes them, without writing a document.
std::vector<FoundModel> find_models(const Image& image, const DecodeOptions& options,
                                    const StringTable* object_names);

// What one name of a file's models becomes.
struct ModelPlan {
  uint32_t copy = 1;  // 1: the name itself; n: "_n" before the extension
  bool write = true;  // false: an earlier file wrote the same bytes under the name
};

// The names of every model of the run, settled in file order.
class ModelRegistry {
 public:
  // Settles the models of file `index` once every file before it is settled, and gives back the
  // plan of each of its names. Every file of the run is settled exactly once, with no models
  // when it writes none (a failure, a skipped file).
  std::map<std::string, ModelPlan> settle(size_t index, const std::string& folder,
                                          const std::vector<FoundModel>& models);

 private:
  struct Content {
    uint64_t size;
    uint64_t hash[2];
    bool operator==(const Content&) const = default;
  };

  std::mutex lock_;
  std::condition_variable turn_;
  size_t next_ = 0;                       // the file whose turn it is
  std::map<std::string, Content> taken_;  // folder and file name: the bytes written there
};

// The model sink of one file of a folder run: each model goes under the name its plan gives, or
// not at all when an earlier file wrote the same bytes.
struct FolderModelFiles {
  ModelFiles files;
  std::map<std::string, ModelPlan> plans;

  ExtraFileSink sink() { return ExtraFileSink{write, this, copy_of}; }
  static int write(void* context, std::string_view name, std::string_view bytes);
  static uint32_t copy_of(void* context, std::string_view name);
};

// The name of copy `copy` of a file: "_<copy>" before the extension of the name.
std::string copy_name(std::string_view name, uint32_t copy);

}  // namespace terrova
