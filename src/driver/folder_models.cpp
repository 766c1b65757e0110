#include "driver/folder_models.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "bgl/walker.h"
#include "scenery/scenery_sections.h"

namespace terrova {
namespace {

// Collects the model files of a decode instead of writing them.
int collect_model(void* context, std::string_view name, std::string_view bytes) {
  static_cast<std::vector<FoundModel>*>(context)->push_back({std::string(name), bytes});
  return 0;
}

// The model data section alone: the walk of the other sections writes nothing.
constexpr SectionKind kModelSections[] = {
    {43, extract_model_data, nullptr, false},
};

// Two 64-bit lanes over the bytes, each word mixed by a multiplication: equal bytes give equal
// values, and different models of one name, with their size, do not meet by chance.
void hash_bytes(std::string_view bytes, uint64_t (&hash)[2]) {
  constexpr uint64_t kFirst = 0x9E3779B97F4A7C15u;
  constexpr uint64_t kSecond = 0xC2B2AE3D27D4EB4Fu;
  uint64_t a = 0x243F6A8885A308D3u;
  uint64_t b = 0x13198A2E03707344u;
  auto mix = [&](uint64_t word) {
    a = (a ^ word) * kFirst;
    a ^= a >> 29;
    b = (b + word) * kSecond;
    b ^= b >> 31;
  };
  size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    mix(word);
  }
  uint64_t tail = 0;
  if (at < bytes.size()) std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
  mix(tail ^ (uint64_t{bytes.size() - at} << 56));
  hash[0] = a;
  hash[1] = b;
}

}  // namespace

std::vector<FoundModel> find_models(const Image& image, const DecodeOptions& options,
                                    const StringTable* object_names) {
  std::vector<FoundModel> models;
  DecodeOptions quiet = options;
  quiet.terse = 1;
  quiet.circle_enabled = 0;
  Output out(drain_discard, nullptr, false, 256);
  SharedTables tables;
  DecodeContext ctx(image, quiet, out, tables);
  ctx.object_names = object_names;
  ExtraFileSink collector{collect_model, &models};
  ctx.extra_files = &collector;
  walk_sections(ctx, kModelSections);
  return models;
}

std::string copy_name(std::string_view name, uint32_t copy) {
  const size_t dot = name.rfind('.');
  const size_t stem = dot == std::string_view::npos ? name.size() : dot;
  std::string result(name.substr(0, stem));
  result += '_';
  result += std::to_string(copy);
  result.append(name.substr(stem));
  return result;
}

std::map<std::string, ModelPlan> ModelRegistry::settle(size_t index, const std::string& folder,
                                                       const std::vector<FoundModel>& models) {
  // The bytes of each name as the file leaves them: a name that comes again replaces its file.
  // Out of memory here still passes the turn on (with nothing taken), so that no later file
  // waits for ever.
  std::vector<std::pair<std::string_view, Content>> contents;
  std::exception_ptr failure;
  try {
    for (const FoundModel& model : models) {
      Content content{model.bytes.size(), {}};
      hash_bytes(model.bytes, content.hash);
      auto same_name = [&](const auto& entry) { return entry.first == model.name; };
      auto it = std::find_if(contents.begin(), contents.end(), same_name);
      if (it == contents.end()) {
        contents.emplace_back(model.name, content);
      } else {
        it->second = content;
      }
    }
  } catch (...) {
    failure = std::current_exception();
  }

  std::unique_lock<std::mutex> hold(lock_);
  turn_.wait(hold, [&] { return next_ == index; });
  struct PassTurn {
    ModelRegistry& registry;
    ~PassTurn() {
      ++registry.next_;
      registry.turn_.notify_all();
    }
  } pass_turn{*this};
  if (failure) std::rethrow_exception(failure);

  std::map<std::string, ModelPlan> plans;
  for (const auto& [name, content] : contents) {
    ModelPlan plan;
    for (;;) {
      std::string key = folder;
      key += '\0';
      key += plan.copy == 1 ? std::string(name) : copy_name(name, plan.copy);
      const auto [it, added] = taken_.try_emplace(std::move(key), content);
      if (added) break;
      if (it->second == content) {
        plan.write = false;
        break;
      }
      ++plan.copy;
    }
    plans.emplace(name, plan);
  }
  return plans;
}

int FolderModelFiles::write(void* context, std::string_view name, std::string_view bytes) {
  FolderModelFiles& self = *static_cast<FolderModelFiles*>(context);
  const auto it = self.plans.find(std::string(name));
  if (it == self.plans.end()) return ModelFiles::write(&self.files, name, bytes);
  const ModelPlan& plan = it->second;
  if (!plan.write) return 0;
  if (plan.copy == 1) return ModelFiles::write(&self.files, name, bytes);
  const std::string renamed = copy_name(name, plan.copy);
  self.files.console.print(Message::kModelRenamed,
                           "Writing model %s... (another file of the folder wrote another %s)\n",
                           renamed, name);
  return self.files.write_file(renamed, bytes);
}

uint32_t FolderModelFiles::copy_of(void* context, std::string_view name) {
  const FolderModelFiles& self = *static_cast<FolderModelFiles*>(context);
  const auto it = self.plans.find(std::string(name));
  return it == self.plans.end() ? 1 : it->second.copy;
}

}  // namespace terrova
