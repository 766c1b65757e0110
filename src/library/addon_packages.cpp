// Prepar3D add-on packages: a folder of packages, each with its add-on.xml.
//
//   <SimBase.Document Type="AddOnXml" version="4,0" id="add-on">
//     <AddOn.Name>LEAB Scenery</AddOn.Name>
//     <AddOn.Component>
//       <Category>Scenery</Category>
//       <Path>world</Path>          relative to the package folder, or absolute
//       <Name>LEAB_elevation</Name>
//       <Layer>161</Layer>          optional
//     </AddOn.Component>
//   </SimBase.Document>
//
// Each Scenery component is one layer. Components with a Layer load in its order; the ones
// without load after all of them, in the order of their packages (by folder name) and of their
// add-on.xml, and take the layer numbers after the highest given. A component's BGL files are
// those of its `scenery` subfolder, or of the folder itself when it has none.
#include "library/addon_packages.h"

#include <algorithm>

#include "library/library.h"
#include "library/library_paths.h"
#include "library/reader_support.h"
#include "library/xml_elements.h"
#include "platform/platform.h"

namespace terrova::library {
namespace {

struct Component {
  bool layer_given = false;
  Layer layer;
};

// The Scenery components of one package; an inactive package's are listed without their files.
void read_package(const AddOnPackage& package, const LibraryOptions& options, FolderCache& cache,
                  std::vector<Component>& components, Library& out) {
  const std::string& xml_path = package.xml;
  DecodedText text;
  if (int code = read_text_file(xml_path, text, out)) {
    out.problems.push_back(unreadable(xml_path, code) + "; the package is passed over");
    return;
  }
  const XmlDocument doc = parse_xml(text.text);
  std::vector<std::string> problems;
  if (!doc.error.empty()) {
    problems.push_back("damaged at byte " + std::to_string(doc.error_offset) + " (" + doc.error +
                       "); the components complete before it are read");
  }
  if (!doc.root.name.empty() && !equal_ignoring_case(doc.root.name, "SimBase.Document")) {
    problems.push_back("the root element is <" + doc.root.name + ">, not <SimBase.Document>");
  }
  const std::string package_name = doc.root.child_text("AddOn.Name");
  size_t number = 0;
  for (const XmlElement& element : doc.root.children) {
    if (!equal_ignoring_case(element.name, "AddOn.Component")) continue;
    ++number;
    if (!element.complete) continue;
    if (!equal_ignoring_case(element.child_text("Category"), "Scenery")) continue;
    const std::string where = "component " + std::to_string(number);
    const std::string path = element.child_text("Path");
    if (path.empty()) {
      problems.push_back(where + ": a Scenery component without a Path; passed over");
      continue;
    }
    Component c;
    Layer& layer = c.layer;
    layer.kind = "add-on";
    layer.title = element.child_text("Name");
    if (layer.title.empty()) {
      layer.title = package_name.empty() ? last_part(package.folder) : package_name;
    }
    if (element.child("Layer") != nullptr) {
      const std::string value = element.child_text("Layer");
      c.layer_given = parse_integer(value, layer.layer);
      if (!c.layer_given) {
        problems.push_back(where + ": Layer " + value +
                           " is not a number; it loads after the components with a layer");
      }
    }
    const ConfigFolder folder = resolve_config_folder(path, package.folder, options.drives, cache);
    if (!folder.problem.empty()) {
      problems.push_back(where + ": Path " + path + ": " + folder.problem);
    }
    layer.folder = folder.folder;
    layer.folder_missing = !folder.found;
    layer.active = package.active;
    if (folder.found && layer.active) layer.files = area_files(layer.folder, true, out);
    components.push_back(std::move(c));
  }
  add_problems(out, xml_path, problems);
}

}  // namespace

int read_addon_packages(const std::string& folder, const LibraryOptions& options, Library& out,
                        std::string& error) {
  out.kind = "add-ons";
  FolderEntries entries;
  if (int code = list_sorted(folder, entries)) {
    error = unreadable(folder, code);
    return code;
  }
  // The folder of one package, or the folder that holds the packages.
  std::vector<AddOnPackage> packages;
  if (std::string xml = addon_xml(folder); !xml.empty()) {
    packages.push_back({folder, std::move(xml), true});
  } else {
    find_addon_packages(folder, true, packages);
  }
  if (packages.empty()) {
    error = folder + ": no add-on.xml in the folder or its subfolders";
    return kNotALibrary;
  }
  read_addon_components(packages, options, out);
  return 0;
}

void find_addon_packages(const std::string& folder, bool active,
                         std::vector<AddOnPackage>& packages) {
  FolderEntries entries;
  list_sorted(folder, entries);
  for (const std::string& name : entries.folders) {
    const std::string package = join_path(folder, name);
    if (std::string xml = addon_xml(package); !xml.empty()) {
      packages.push_back({package, std::move(xml), active});
    }
  }
}

void read_addon_components(const std::vector<AddOnPackage>& packages, const LibraryOptions& options,
                           Library& out) {
  std::vector<Component> components;
  FolderCache cache;
  for (const AddOnPackage& package : packages)
    read_package(package, options, cache, components, out);
  std::stable_partition(components.begin(), components.end(),
                        [](const Component& c) { return c.layer_given; });
  const auto given_end = std::find_if(components.begin(), components.end(),
                                      [](const Component& c) { return !c.layer_given; });
  std::stable_sort(components.begin(), given_end, [](const Component& a, const Component& b) {
    return a.layer.layer < b.layer.layer;
  });
  int64_t next = 1;
  for (auto it = components.begin(); it != given_end; ++it) {
    next = std::max(next, it->layer.layer < INT64_MAX ? it->layer.layer + 1 : it->layer.layer);
  }
  for (auto it = given_end; it != components.end(); ++it) {
    it->layer.layer = next < INT64_MAX ? next++ : next;
  }
  for (Component& c : components) out.layers.push_back(std::move(c.layer));
}

std::string addon_xml(const std::string& folder) {
  FolderEntries entries;
  list_sorted(folder, entries);
  const std::string name = find_name(entries.files, "add-on.xml");
  return name.empty() ? name : join_path(folder, name);
}

}  // namespace terrova::library
