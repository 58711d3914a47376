// Feeds arbitrary bytes to the expression evaluator and to an entry field.
// Any text must end in a value or one of the two message kinds; a value must
// be finite and its 18-digit text must read back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tables/data_edit_rules.h"
#include "tables/evaluator.h"
#include "tables/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const long double value = kestra::Evaluate(text);
    if (!std::isfinite(value)) std::abort();
  } catch (const kestra::TEvaluateError&) {
  } catch (const kestra::TMathError&) {
  }

  kestra::TDataEditRules field;
  field.SetIntegerOnly(size % 2 == 1);
  field.SetHex(size % 3 == 0);
  field.SetMinVal(-1000);
  field.SetMaxVal(1000);
  field.SetText(std::string(text));
  // A successful validation leaves a text that validates again to itself.
  if (field.Validate().empty()) {
    const std::string shown = field.Text();
    if (!field.Validate().empty() || field.Text() != shown) std::abort();
  }
  return 0;
}
