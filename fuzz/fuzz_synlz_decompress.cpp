// SynLZ blocks as the undo files store them: any block decodes to its stated
// size or is refused.
#include "fuzz_target.h"
#include "io/synlz.h"

FUZZ_TARGET(synlz_decompress)(const uint8_t* data, size_t size) {
  const std::optional<std::vector<uint8_t>> plain = SynLZDecompress(std::span<const uint8_t>(data, size));
  if (plain) FUZZ_CHECK(SynLZDecompressedSize(data, size) == plain->size());
  return 0;
}
