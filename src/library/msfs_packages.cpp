// MSFS packages: each folder of the Community folder (and of the Official folder, whose
// packages sit one level deeper, under OneStore or Steam) with a layout.json or manifest.json.
// A folder of Community that is no package is reported and passed over, as the simulator does
// not look into it.
//
// Load order: the base packages (fs-base...) first, then the other Official packages, then the
// Community packages, each group by folder name ignoring case; with a Content.xml, the packages
// it names in its order, then the ones it does not name in that order.
//
//   Content.xml:  <Content> <Package name="fs-base" active="true"/> ... </Content>
//   layout.json:  {"content": [{"path": "scenery/world/AZGA.bgl", "size": 1914, "date": ...}]}
//
// A package's BGL files are the ones its layout.json lists, in that order; a listed file that is
// not there is named in Layer::missing. A package without a readable layout.json gives its BGL
// files in name order.
#include <algorithm>
#include <unordered_map>

#include "library/json_values.h"
#include "library/library.h"
#include "library/library_paths.h"
#include "library/reader_support.h"
#include "library/xml_elements.h"
#include "platform/platform.h"

namespace terrova::library {
namespace {

struct Package {
  std::string name;
  std::string folder;
  std::string origin;
  FolderEntries entries;
};

bool is_package(const FolderEntries& entries) {
  return !find_name(entries.files, "layout.json").empty() ||
         !find_name(entries.files, "manifest.json").empty();
}

// The packages in `root`; with `nested`, also one level deeper under folders that hold packages
// themselves (Official/OneStore). The simulator looks no deeper into Community.
void collect_packages(const std::string& root, const std::string& origin, bool nested,
                      std::vector<Package>& packages, Library& out) {
  FolderEntries entries;
  if (int code = list_sorted(root, entries)) {
    out.problems.push_back(unreadable(root, code));
    return;
  }
  for (const std::string& name : entries.folders) {
    Package p{name, join_path(root, name), origin, {}};
    list_sorted(p.folder, p.entries);
    if (is_package(p.entries)) {
      packages.push_back(std::move(p));
      continue;
    }
    bool holds_packages = false;
    for (const std::string& inner : nested ? p.entries.folders : std::vector<std::string>{}) {
      Package q{inner, join_path(p.folder, inner), origin, {}};
      list_sorted(q.folder, q.entries);
      if (!is_package(q.entries)) continue;
      holds_packages = true;
      packages.push_back(std::move(q));
    }
    if (!holds_packages) {
      out.problems.push_back(p.folder +
                             ": no layout.json or manifest.json; not a package, passed over");
    }
  }
}

// The files of one package. A path of layout.json is looked for as written first (one lookup);
// only when it is not there, or when the package has no layout.json, is the whole package
// listed (an Official package may hold many thousand files besides its few BGL files).
class PackageFiles {
 public:
  PackageFiles(const Package& package, Library& out) : package_(package), out_(out) {}

  // The file's path on this machine for a path of layout.json in '/' form; "" when the package
  // has none (names that differ only in case match, names that leave the package do not).
  std::string find(const std::string& slashed) {
    if (stays_inside(slashed)) {
      std::string written = slashed;
      std::replace(written.begin(), written.end(), '/', platform::kPathSeparator);
      std::string path = join_path(package_.folder, written);
      if (platform::is_file(path.c_str())) return path;
    }
    list();
    if (const auto at = exact_.find(slashed); at != exact_.end()) {
      return join_path(package_.folder, at->second);
    }
    const auto at = folded_.find(lower_ascii(slashed));
    return at == folded_.end() ? std::string() : join_path(package_.folder, at->second);
  }

  // Every BGL file of the package in name order ignoring case, as {path, relative in '/' form}.
  std::vector<LibraryFile> bgl_files() {
    list();
    std::vector<LibraryFile> files;
    for (const auto& [slashed, on_disk] : exact_) {
      if (is_bgl_name(slashed)) files.push_back({join_path(package_.folder, on_disk), slashed});
    }
    std::sort(files.begin(), files.end(), [](const LibraryFile& a, const LibraryFile& b) {
      return name_less(a.relative, b.relative);
    });
    return files;
  }

 private:
  static bool stays_inside(const std::string& slashed) {
    if (slashed.empty() || slashed[0] == '/' || slashed.find(':') != std::string::npos) {
      return false;
    }
    for (const std::string& part : split_path(slashed)) {
      if (part == "..") return false;
    }
    return true;
  }

  void list() {
    if (listed_) return;
    listed_ = true;
    std::vector<std::string> names;
    std::string failed;
    if (int code = platform::list_files(package_.folder.c_str(), names, failed)) {
      out_.problems.push_back(unreadable(failed, code));
    }
    for (std::string& on_disk : names) {
      std::string slashed = on_disk;
      std::replace(slashed.begin(), slashed.end(), '\\', '/');
      auto [at, added] = folded_.emplace(lower_ascii(slashed), on_disk);
      if (!added && name_less(on_disk, at->second)) at->second = on_disk;
      exact_.emplace(std::move(slashed), std::move(on_disk));
    }
  }

  const Package& package_;
  Library& out_;
  bool listed_ = false;
  std::unordered_map<std::string, std::string> exact_;   // '/' form -> as on the disk
  std::unordered_map<std::string, std::string> folded_;  // lower case '/' form -> as on the disk
};

// The files of the package's layout.json; false when there is none to use.
bool layout_files(const Package& p, PackageFiles& files, Layer& layer, Library& out) {
  const std::string name = find_name(p.entries.files, "layout.json");
  if (name.empty()) {
    out.problems.push_back(p.folder + ": no layout.json; its BGL files are taken in name order");
    return false;
  }
  const std::string path = join_path(p.folder, name);
  DecodedText text;
  if (int code = read_text_file(path, text, out)) {
    out.problems.push_back(unreadable(path, code) + "; its BGL files are taken in name order");
    return false;
  }
  const JsonDocument doc = parse_json(text.text);
  const JsonValue* content = doc.root.member("content");
  if (content == nullptr || content->type != JsonValue::Type::kArray) {
    out.problems.push_back(path + (doc.error.empty() ? ": no \"content\" list" : ": damaged") +
                           "; its BGL files are taken in name order");
    return false;
  }
  if (!doc.error.empty()) {
    out.problems.push_back(path + ": damaged at byte " + std::to_string(doc.error_offset) + " (" +
                           doc.error + "); the files listed before it are read");
  }
  size_t without_path = 0;
  std::unordered_map<std::string, bool> seen;
  for (const JsonValue& entry : content->items) {
    const JsonValue* written = entry.member("path");
    if (written == nullptr || written->type != JsonValue::Type::kString) {
      // A null is the value that damage cut short, already reported.
      if (entry.type != JsonValue::Type::kNull) ++without_path;
      continue;
    }
    std::string slashed = written->text;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (!is_bgl_name(slashed) || !seen.emplace(lower_ascii(slashed), true).second) continue;
    std::string found = files.find(slashed);
    if (found.empty()) {
      layer.missing.push_back(written->text);
    } else {
      layer.files.push_back({std::move(found), written->text});
    }
  }
  if (without_path > 0) {
    out.problems.push_back(path + ": " + std::to_string(without_path) +
                           " entries of \"content\" without a \"path\"; passed over");
  }
  return true;
}

// The package names of a Content.xml in its order, each with its active flag.
std::vector<std::pair<std::string, bool>> content_order(const std::string& path, Library& out) {
  std::vector<std::pair<std::string, bool>> order;
  DecodedText text;
  if (int code = read_text_file(path, text, out)) {
    out.problems.push_back(unreadable(path, code) + "; the packages load in their usual order");
    return order;
  }
  const XmlDocument doc = parse_xml(text.text);
  if (!doc.error.empty()) {
    out.problems.push_back(path + ": damaged at byte " + std::to_string(doc.error_offset) + " (" +
                           doc.error + "); the packages named before it keep its order");
  }
  if (!doc.root.name.empty() && !equal_ignoring_case(doc.root.name, "Content")) {
    out.problems.push_back(path + ": the root element is <" + doc.root.name +
                           ">, not <Content>; its packages are looked for all the same");
  }
  for (const XmlElement& e : doc.root.children) {
    if (!equal_ignoring_case(e.name, "Package")) continue;
    const std::string* name = e.attribute("name");
    if (name == nullptr || name->empty()) continue;
    const std::string* active = e.attribute("active");
    order.emplace_back(*name, active == nullptr || !equal_ignoring_case(*active, "false"));
  }
  return order;
}

int group(const Package& p) {
  if (p.origin == "base") return 0;
  return p.origin == "official" ? 1 : 2;
}

}  // namespace

int read_msfs_packages(const std::string& community, const LibraryOptions& options, Library& out,
                       std::string& error) {
  out.kind = "msfs";
  if (!platform::is_folder(community.c_str())) return not_found(community, error);
  std::vector<Package> packages;
  if (!options.official_folder.empty()) {
    collect_packages(options.official_folder, "official", true, packages, out);
  }
  // One package named directly is a library of its own.
  if (Package self{last_part(community), community, "community", {}};
      list_sorted(community, self.entries) == 0 && is_package(self.entries)) {
    packages.push_back(std::move(self));
  } else {
    collect_packages(community, "community", false, packages, out);
  }
  for (Package& p : packages) {
    if (starts_with_ignoring_case(p.name, "fs-base")) p.origin = "base";
  }
  std::stable_sort(packages.begin(), packages.end(), [](const Package& a, const Package& b) {
    return group(a) != group(b) ? group(a) < group(b) : name_less(a.name, b.name);
  });
  std::vector<bool> active(packages.size(), true);
  if (!options.content_xml.empty()) {
    // Packages named in Content.xml first, in its order; a name it gives twice counts once.
    const auto order = content_order(options.content_xml, out);
    std::unordered_map<std::string, size_t> position;
    for (size_t i = 0; i < order.size(); ++i) position.emplace(lower_ascii(order[i].first), i);
    std::vector<size_t> rank(packages.size());
    for (size_t i = 0; i < packages.size(); ++i) {
      const auto at = position.find(lower_ascii(packages[i].name));
      rank[i] = at == position.end() ? order.size() + i : at->second;
      if (at != position.end()) active[i] = order[at->second].second;
    }
    std::vector<size_t> index(packages.size());
    for (size_t i = 0; i < index.size(); ++i) index[i] = i;
    std::stable_sort(index.begin(), index.end(),
                     [&](size_t a, size_t b) { return rank[a] < rank[b]; });
    std::vector<Package> sorted;
    std::vector<bool> sorted_active;
    for (size_t i : index) {
      sorted.push_back(std::move(packages[i]));
      sorted_active.push_back(active[i]);
    }
    packages = std::move(sorted);
    active = std::move(sorted_active);
  }
  for (size_t i = 0; i < packages.size(); ++i) {
    const Package& p = packages[i];
    Layer layer;
    layer.kind = "package";
    layer.title = p.name;
    layer.folder = p.folder;
    layer.origin = p.origin;
    layer.layer = static_cast<int64_t>(i) + 1;
    layer.active = active[i];
    if (layer.active) {
      PackageFiles files(p, out);
      if (!layout_files(p, files, layer, out)) layer.files = files.bgl_files();
    }
    out.layers.push_back(std::move(layer));
  }
  return 0;
}

}  // namespace terrova::library
