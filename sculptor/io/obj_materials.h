// The material library of an OBJ export: elements painted into a texture
// image are exported with a material naming that image (saved as PNG beside
// the OBJ), so other programs open the model textured.
#pragma once

#include <cstddef>
#include <string>

#include "model/scene.h"

// The texture-coordinate list the first `corners` face corners of `e` refer
// through (its own `uvFaces`, or the vertex numbers when there are none), or
// nullptr when some corner has no texture coordinate.
const uint32_t* ObjTextureReferences(const TGeosphera& e, size_t corners);

// Whether `e` is exported with its texture: it has a texture image and a
// texture coordinate for every face corner.
bool HasObjTexture(const TGeosphera& e);

// The library beside `objFileName`: its name with ".mtl" for its extension.
std::string MaterialLibraryPath(const std::string& objFileName);
// The texture image of element `index` beside `objFileName`: its name without
// the extension, "_", the index and ".png".
std::string TextureImagePath(const std::string& objFileName, size_t index);
// The last part of a path (what the OBJ and the library name).
std::string FileNamePart(const std::string& path);

// Writes the library of the scene's textured elements: one material each,
// named as the element's "usemtl" line, white, with its texture image as the
// diffuse map. False (after the message) on an I/O error.
bool WriteMaterialLibrary(const TScene& scene, const std::string& objFileName);
