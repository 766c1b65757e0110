#include "driver/plan_files.h"

namespace terrova {

int PlanFiles::write(void* context, std::string_view name, std::string_view bytes) {
  PlanFiles& self = *static_cast<PlanFiles*>(context);
  self.files.console.print(Message::kPlanWritten, "Writing plan %s...\n", name);
  return self.files.write_file(name, bytes);
}

std::string plan_base_name(const std::string& document_path) {
  const size_t slash = document_path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? document_path : document_path.substr(slash + 1);
  if (name.size() >= 4) {
    const std::string_view end = std::string_view(name).substr(name.size() - 4);
    if (end[0] == '.' && (end[1] | 0x20) == 'x' && (end[2] | 0x20) == 'm' &&
        (end[3] | 0x20) == 'l') {
      name.resize(name.size() - 4);
    }
  }
  return name;
}

}  // namespace terrova
