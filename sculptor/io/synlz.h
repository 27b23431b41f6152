// SynLZ: the byte-oriented LZ77 compressor of the undo snapshot files.
//
// Block layout: the uncompressed size s (one uint16 when s < 32768, else
// uint16 (s & 32767) | 32768 followed by uint16 s >> 15), then groups of one
// little-endian uint32 control word and up to 32 items. Bit i of the control
// word marks item i as a literal byte (0) or a match (1). A match is a uint16
// t | (h << 4) for 3 .. 17 bytes (t = 1 .. 15), or uint16 h << 4 and one byte
// for 18 .. 273 bytes, copied from the most recent earlier position whose
// 3-byte hash is h; both sides rebuild the same hash table, so no offsets are
// stored. The stream is part of the file format: keep it byte-exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Largest input a block header can state.
inline constexpr size_t kSynLZMaxInput = 0x7FFFFFFF;

// Bytes the output of SynLZCompress must provide for n input bytes.
constexpr size_t SynLZCompressBound(size_t n) { return n + n / 8 + 16; }

// Compresses n <= kSynLZMaxInput bytes of `src` into `dst`, which holds
// SynLZCompressBound(n) bytes. Returns the length of the block.
size_t SynLZCompress(const uint8_t* src, size_t n, uint8_t* dst);

// The uncompressed size stated by a block, or nullopt when its header is cut
// short or states more than m bytes can hold (a 3-byte match makes 273 bytes).
std::optional<size_t> SynLZDecompressedSize(const uint8_t* block, size_t m);

// Decodes the m-byte block into `dst`, which holds `size` bytes, the size the
// block states. Never reads or writes outside the two buffers. False when the
// block is corrupt: another stated size, an item that does not fit, a match
// without a source, or an output that does not come to exactly `size` bytes.
bool SynLZDecompress(const uint8_t* block, size_t m, uint8_t* dst, size_t size);

// Vector conveniences over the two calls above.
std::vector<uint8_t> SynLZCompress(std::span<const uint8_t> src);
std::optional<std::vector<uint8_t>> SynLZDecompress(std::span<const uint8_t> block);
