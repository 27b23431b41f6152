// "Create UVs" on a whole scene, headless: every element is segmented, all
// charts share one layout, seam vertices are split, and each element gets its
// texture coordinates. The window and the command-line tool both call this.
#pragma once

#include "model/scene.h"
#include "processing/uv_unfold.h"

// Gives every element texture coordinates from the partition control
// `threshold` (0.1 .. 1.0; the higher, the more charts), laid out for a
// texture of `textureSize` texels a side (the charts' gaps). Seam copies take the
// position, normal and colour of their vertex; every mask is cleared;
// `uvFaces` becomes a copy of `faces` and `uvs` holds one coordinate per
// vertex. Valence and adjacency are rebuilt (normals are kept, so shading does
// not break along the seams); the renderer's buffers are the caller's.
// On failure the scene is unchanged: "Not enough memory to complete this
// operation." or "Error in create textures UV. Error 2525." is shown and the
// result is false.
bool CreateSceneUVs(TScene& scene, float threshold, int textureSize, const UvProgress& progress = {});

// Installs unfolded triangles, seam copies and texture coordinates in `e`
// (copies as above, masks cleared, `uvFaces` = `faces`, valence and adjacency
// rebuilt).
void InstallUnfolded(TGeosphera& e, TUvUnfolded& unfolded);

// Makes the texture coordinates of `e` per vertex, one vertex per (vertex,
// texture coordinate) pair of its corners (elements read with their own
// texture-coordinate indices). Nothing changes when it is so already.
void SplitElementByTextureCorner(TGeosphera& e);
