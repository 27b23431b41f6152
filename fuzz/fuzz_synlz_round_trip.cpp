// SynLZ: whatever is compressed decompresses to the same bytes, within the bound.
#include <algorithm>

#include "fuzz_target.h"
#include "io/synlz.h"

FUZZ_TARGET(synlz_round_trip)(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  const std::vector<uint8_t> block = SynLZCompress(input);
  FUZZ_CHECK(block.size() <= SynLZCompressBound(size));
  const std::optional<std::vector<uint8_t>> back = SynLZDecompress(block);
  FUZZ_CHECK(back && std::equal(back->begin(), back->end(), input.begin(), input.end()));
  return 0;
}
