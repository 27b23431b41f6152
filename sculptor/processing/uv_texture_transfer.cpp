#include "processing/uv_texture_transfer.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// Texel index of the texture coordinate `t` along one axis of `size` texels,
// rounded half to even and kept inside the image (NaN gives 0).
int TexelOf(float t, int size) {
  const float scaled = std::nearbyint(static_cast<float>(size) * t);
  if (!(scaled > 0)) return 0;
  return scaled >= static_cast<float>(size) ? size : static_cast<int>(scaled);
}

}  // namespace

void SampleTextureIntoColors(const TTextureView& texture, std::span<const uint32_t> faces,
                             std::span<const uint32_t> uvFaces, std::span<const TGLUV> uvs, std::span<TRGBA> colors) {
  const int size = texture.size;
  if (size <= 0 || texture.rgb.size() < static_cast<size_t>(size) * static_cast<size_t>(size) * 3) return;
  const std::span<const uint32_t> uvIndex = uvFaces.empty() ? faces : uvFaces;
  const size_t corners = std::min(faces.size(), uvIndex.size());
  for (size_t c = 0; c < corners; ++c) {
    if (uvIndex[c] >= uvs.size() || faces[c] >= colors.size()) continue;
    const TGLUV& uv = uvs[uvIndex[c]];
    // Column round(size u); the top-down row size - round(size v), which is
    // row round(size v) - 1 from the bottom.
    const int column = std::min(TexelOf(uv.u, size), size - 1);
    const int row = std::max(TexelOf(uv.v, size) - 1, 0);
    const uint8_t* texel =
        texture.rgb.data() + (static_cast<size_t>(row) * static_cast<size_t>(size) + static_cast<size_t>(column)) * 3;
    colors[faces[c]] = {texel[0], texel[1], texel[2], 255};
  }
}

TUvUnfolded SplitVerticesByTextureCorner(std::span<const uint32_t> faces, std::span<const uint32_t> uvFaces,
                                         std::span<const TGLUV> uvs, size_t vertexCount) {
  TUvUnfolded out;
  out.faces.assign(faces.begin(), faces.end());
  out.uvs.assign(vertexCount, TGLUV{});
  Tfaces firstPair(vertexCount, kNoCorner);
  std::unordered_map<uint64_t, uint32_t> copies;
  for (size_t c = 0; c < faces.size(); ++c) {
    const uint32_t v = faces[c];
    if (v >= vertexCount) continue;
    const uint32_t t = c < uvFaces.size() ? uvFaces[c] : kNoCorner;
    const TGLUV uv = t < uvs.size() ? uvs[t] : TGLUV{};
    if (firstPair[v] == kNoCorner) {
      firstPair[v] = t;
      out.uvs[v] = uv;
    }
    if (firstPair[v] == t) continue;
    const auto [at, added] = copies.try_emplace((uint64_t{v} << 32) | t, static_cast<uint32_t>(out.uvs.size()));
    if (added) {
      out.uvs.push_back(uv);
      out.copiedFrom.push_back(v);
    }
    out.faces[c] = at->second;
  }
  return out;
}
