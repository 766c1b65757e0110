// The parts of the platform layer that are the same on every system.
#include "platform/platform.h"

#include <atomic>

namespace terrova::platform {
namespace {

// The simulated write failure of the tests; both fields are 0 outside them.
std::atomic<uint64_t> g_bytes_until_failure{0};
std::atomic<int> g_failure_code{0};

}  // namespace

void simulate_write_failure(uint64_t bytes, int code) {
  g_bytes_until_failure = bytes;
  g_failure_code = code;
}

int simulated_write_limit(size_t& size) {
  const int code = g_failure_code;
  if (code == 0) return 0;
  const uint64_t left = g_bytes_until_failure;
  if (left == 0) return code;
  if (size > left) size = static_cast<size_t>(left);
  g_bytes_until_failure = left - size;
  return 0;
}

}  // namespace terrova::platform
