// Prepar3D add-on packages, found in a folder of packages or through an add-ons.cfg: what both
// share once the package folders are known.
#pragma once

#include <string>
#include <vector>

#include "library/library.h"

namespace terrova::library {

struct AddOnPackage {
  std::string folder;
  std::string xml;  // its add-on.xml
  bool active = true;
};

// The add-on.xml of a package folder (any case); "" when it has none.
std::string addon_xml(const std::string& folder);
// The packages in the subfolders of `folder`, in name order ignoring case.
void find_addon_packages(const std::string& folder, bool active,
                         std::vector<AddOnPackage>& packages);
// The Scenery components of the packages as layers: those with a Layer in its order, then the
// others in package order, numbered after the highest Layer. Components of inactive packages
// are listed without their files.
void read_addon_components(const std::vector<AddOnPackage>& packages, const LibraryOptions& options,
                           Library& out);

}  // namespace terrova::library
