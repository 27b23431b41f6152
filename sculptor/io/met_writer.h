// The Met writer and the pieces of it that the OBJ writer shares.
#pragma once

#include <string>

#include "io/atomic_file.h"
#include "model/scene.h"

// Writes every element of the scene as Met text; false (after the message) on
// an I/O error, the previous file then being intact. Does not touch the scene.
bool WriteMet(const TScene& scene, const std::string& fileName);

// The two comment lines and the empty line that open a Met or OBJ file.
void WriteModelFileHeader(AtomicFileWriter& out);

// A keyword, a blank, the name (line breaks become blanks), a blank, CR LF.
void WriteNameLine(AtomicFileWriter& out, const char* keyword, const std::string& name);

// "g", "usemtl" and "s" lines of an element (line breaks in the name become blanks).
void WriteGroupHeader(AtomicFileWriter& out, const TGeosphera& e);

// prefix, the decimal of `value`, suffix (which carries the line end).
void WriteNumberLine(AtomicFileWriter& out, const char* prefix, int64_t value, const char* suffix);

// One line of a keyword followed by floats in "%.10f" form, ended by CR LF.
void WriteFloatLine(AtomicFileWriter& out, const char* keyword, const float* values, int count);
