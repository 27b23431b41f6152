// Loading model files into the scene: reading a file of a given kind into the
// parsed model, and the one conversion of parsed groups into elements that the
// Met, OBJ and PLY readers share.
#pragma once

#include <string>

#include "io/obj_model.h"
#include "model/scene.h"

enum : int { kModelUnknown = 0, kModelMet = 1, kModelObj = 2, kModelPly = 3 };

// The kind of a model file from its extension (in any case); kModelUnknown otherwise.
int ModelKindOfFile(const std::string& fileName);

// Reads a file of the given kind into `model` without touching the scene, so a
// caller can keep the scene when the read fails.
TReadStatus ReadModelFile(TOBJModel& model, const std::string& fileName, int kind);

// Turns the groups that have faces into elements: the first fills the scene's
// last element, each further one is appended. Positions are multiplied by
// `scale`. When nothing could be converted: the current element's last
// geometry snapshot is restored, "Failed to load model." is shown, false.
bool ConvertIntoScene(TScene& scene, const TOBJModel& model, const std::string& fileName, int kind, float scale);

// ReadModelFile then ConvertIntoScene (a partly read file converts what was read).
bool LoadIntoScene(TScene& scene, const std::string& fileName, int kind, float scale);

// The same conversion into one record outside the element list (the rotation
// handle, a reconstruction result): the last group with points wins. On
// failure "Failed to load model rotate.", false.
bool LoadIntoElement(TScene& scene, TGeosphera& element, const std::string& fileName, int kind, float scale);

// The same conversion of a model already read.
bool ConvertIntoElement(TScene& scene, TGeosphera& element, const TOBJModel& model, const std::string& fileName,
                        int kind, float scale);

// "Add new mesh to scene": appends an element named "Add" + (index + 1), makes
// it current and loads the file into it. A model of several groups is refused;
// on failure the appended element is removed again. False when nothing was added.
bool AddMeshToScene(TScene& scene, const std::string& fileName, int kind, bool placing, float scale);

// Appends a sketch sphere "Sphere" + index at `position`, loaded from a Met
// file with `size` as scale.
bool AddSphereElement(TScene& scene, const std::string& fileName, const TGLCoord& position, float size);
