// Saving the whole scene: the format dispatch and the Save As steps that do
// not need the dialog.
#pragma once

#include <string>

#include "model/scene.h"

enum : int { kWriteMet = 1, kWriteObj = 2 };

// Writes every element into `fileName` (mode 1 Met, 2 OBJ); on success the
// position of every element is (0, 0, 0), as the files do not store it.
// "Scene don't have elements to save." when element 0 has no vertices.
bool WriteModel(TScene& scene, const std::string& fileName, int mode);

// Save As with the name chosen in the dialog: ".met" is appended unless the
// name already ends with it (in any case), replacing an existing file needs a
// Yes, then the scene is written in mode 1. False when nothing was saved.
bool SaveSceneAs(TScene& scene, std::string chosenName);
