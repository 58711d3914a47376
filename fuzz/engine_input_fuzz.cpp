// Feeds arbitrary input data files to the engine's run. Any crash, hang or
// sanitizer report is a fault: bad data must end in a message in the report.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "run_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kestra::RunTexts out = kestra::run_input(text);
  // Every run says something: a closing line or a message.
  if (out.report.empty() && size > 0) __builtin_trap();
  return 0;
}
