#include <string>
#include <vector>

#include "driver/run.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  terrova::Console console;
  const std::vector<std::string> arguments = terrova::platform::command_line_arguments(argc, argv);
  std::vector<const char*> pointers;
  pointers.reserve(arguments.size());
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  return terrova::run(static_cast<int>(pointers.size()), pointers.data(), console);
}
