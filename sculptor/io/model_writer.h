// Saving the whole scene: the format dispatch and the Save As steps that do
// not need the dialog.
#pragma once

#include <string>

#include "io/model_formats.h"
#include "model/scene.h"

// Writes the scene into `fileName` in the format of `kind` (the format table's
// writer). A whole-scene format (Met, OBJ) writes every element; on success the
// position of every element is (0, 0, 0), as the files do not store it, and
// "Scene don't have elements to save." stops it when element 0 has no
// vertices. A one-element format (PLY) writes the current element.
bool WriteModel(TScene& scene, const std::string& fileName, int kind);

// The scene's elements as one, for the formats that hold one mesh: their
// vertices as stored (placement is not kept in files), normals and colours
// one after another and their triangles renumbered to match; named after the
// first element. False (after the message) when the sum exceeds what an
// element can hold.
bool MergeElements(const TScene& scene, TGeosphera& merged);

// Save As with the name chosen in the dialog: the native extension (".met") is
// appended unless the name already ends with it (in any case), replacing an
// existing file needs a Yes, then the scene is written in the native format.
// False when nothing was saved.
bool SaveSceneAs(TScene& scene, std::string chosenName);
