// Feeds arbitrary bytes to the word reader as the content of a file and reads
// it to the end in a mix of the four read calls chosen by the data itself.
// Only TInOutError may come out; anything else is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "results/word_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kestra::TWordReader reader = kestra::TWordReader::FromText(text);
  // Every call either moves forward or raises, so the number of calls before
  // the end is bounded by the number of words and lines; the cap is a guard.
  const std::size_t max_calls = 2 * size + 4;
  for (std::size_t i = 0; i < max_calls && !reader.AtEnd(); ++i) {
    try {
      switch (size == 0 ? 0 : data[i % size] % 4) {
        case 0:
          reader.NextWord();
          break;
        case 1:
          reader.ReadFloat();
          break;
        case 2:
          reader.ReadInt();
          break;
        default:
          reader.ReadLine();
          break;
      }
    } catch (const kestra::TInOutError&) {
      // Damaged content: a caller stops here; the fuzzer goes on reading to
      // check that the reader's state stays sound after an error.
    }
  }
  return 0;
}
