// add-ons.cfg of Prepar3D: the add-on packages registered outside the folder of packages.
//
//   [Package.0]
//   PATH=E:\Add-ons\LEAB ARV187      a package folder, holding its add-on.xml
//   ACTIVE=true
//   [DiscoveryPath.0]
//   PATH=E:\More Add-ons             every subfolder with an add-on.xml is a package
//   ACTIVE=true
//
// Packages keep the order of the file (a discovery path's in name order at its place); a
// package named twice keeps its first place and is active only when every entry says so.
#include <unordered_map>

#include "library/addon_packages.h"
#include "library/ini_file.h"
#include "library/library.h"
#include "library/library_paths.h"
#include "library/reader_support.h"

namespace terrova::library {

int read_addons_cfg(const std::string& cfg, const LibraryOptions& options, Library& out,
                    std::string& error) {
  out.kind = "add-ons";
  IniFile ini;
  if (const int code = read_ini_file(cfg, out, ini, error)) return code;
  std::vector<std::string> problems = ini.problems;
  std::vector<AddOnPackage> packages;
  std::unordered_map<std::string, size_t> known;
  const auto add = [&](AddOnPackage package) {
    const auto [at, added] = known.emplace(lower_ascii(package.folder), packages.size());
    if (added) {
      packages.push_back(std::move(package));
    } else {
      packages[at->second].active = packages[at->second].active && package.active;
    }
  };
  const std::string base = parent_folder(cfg);
  FolderCache cache;
  bool any = false;
  for (const IniSection& section : ini.sections) {
    const bool package = starts_with_ignoring_case(section.name, "Package.");
    if (!package && !starts_with_ignoring_case(section.name, "DiscoveryPath.")) continue;
    any = true;
    const std::string where = "[" + section.name + "] (line " + std::to_string(section.line) + ")";
    const IniEntry* path = section.find("PATH");
    if (path == nullptr || path->value.empty()) {
      problems.push_back(where + ": no PATH; passed over");
      continue;
    }
    bool active = true;
    if (const IniEntry* value = section.find("ACTIVE")) {
      if (equal_ignoring_case(value->value, "false")) {
        active = false;
      } else if (!equal_ignoring_case(value->value, "true")) {
        problems.push_back("line " + std::to_string(value->line) + ": ACTIVE=" + value->value +
                           " is neither true nor false; taken as true");
      }
    }
    const ConfigFolder folder = resolve_config_folder(path->value, base, options.drives, cache);
    if (!folder.found) {
      problems.push_back(where + ": PATH=" + path->value + ": " +
                         (folder.problem.empty() ? "the folder is not there" : folder.problem));
      continue;
    }
    if (!package) {
      // An inactive discovery path is not searched; its packages are not the simulator's.
      if (!active) continue;
      std::vector<AddOnPackage> found;
      find_addon_packages(folder.folder, true, found);
      for (AddOnPackage& p : found) add(std::move(p));
      continue;
    }
    std::string xml = addon_xml(folder.folder);
    if (xml.empty()) {
      problems.push_back(where + ": PATH=" + path->value + ": no add-on.xml in the folder");
      continue;
    }
    add({folder.folder, std::move(xml), active});
  }
  add_problems(out, cfg, problems);
  if (!any) {
    error = cfg + ": no [Package.N] or [DiscoveryPath.N] section; not an add-ons.cfg";
    return kNotALibrary;
  }
  read_addon_components(packages, options, out);
  return 0;
}

}  // namespace terrova::library
