// Texture images into OpenGL textures: every texture the program uses (the
// environment cube map, the brush images, loaded and painted textures) comes
// through here. Needs a current GL context.
#pragma once

#include <GL/gl.h>

#include <string>

#include "io/image_pixels.h"

// How many texture names the loaders have generated this run. From the tenth
// load on, the current element's texture name is reused instead ("Load
// Texture" sets the counter to the element's own name first, so an element
// with a name above 8 keeps it).
extern int textureNameCounter;

// Creates a texture name (or reuses `currentTextureId`, see above), binds it
// to `target`, sets the filters and uploads the pixels: RGBA with its whole
// mipmap chain, RGB as level 0 only. Returns the name.
GLuint CreateTexture(const TImagePixels& image, GLenum target, GLint minFilter, GLint magFilter,
                     GLuint currentTextureId);

// Reads an image file (the decoder chosen by its extension) into a texture.
// On success `textureName` is the texture's name; on failure the decoder's
// message is shown and `textureName` is left as it was.
bool LoadTextureFile(const std::string& fileName, GLuint& textureName, GLenum target, GLint minFilter, GLint magFilter,
                     GLuint currentTextureId);

// Reads an image file into one face of the cube map bound to
// GL_TEXTURE_CUBE_MAP (`faceTarget` is GL_TEXTURE_CUBE_MAP_POSITIVE_X + face).
// The rows arrive bottom-up like every loaded image. On failure the
// decoder's message is shown.
bool LoadCubeMapFace(const std::string& fileName, GLenum faceTarget);
