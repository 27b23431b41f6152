// Loading model files into the scene: reading a file of a given kind into the
// parsed model, and the one conversion of parsed groups into elements that the
// Met, OBJ and PLY readers share.
#pragma once

#include <string>

#include "io/model_formats.h"
#include "io/obj_model.h"
#include "model/scene.h"

// Reads a file of the given kind (with the format table's reader) into `model` without touching the scene, so a
// caller can keep the scene when the read fails.
TReadStatus ReadModelFile(TOBJModel& model, const std::string& fileName, int kind);

// Turns the groups that have faces into elements: the first fills the scene's
// last element, each further one is appended. Positions are multiplied by
// `scale`. When nothing could be converted: the current element's last
// geometry snapshot is restored, "Failed to load model." is shown, false.
bool ConvertIntoScene(TScene& scene, const TOBJModel& model, const std::string& fileName, int kind, float scale);

// Replaces the whole scene by the model's elements. They are converted into a
// scene of their own first, so a failed conversion leaves this one as it was;
// they get fresh uids and element 0 becomes current. False (after "Failed to
// load model.") when nothing could be converted.
bool ReplaceSceneWithModel(TScene& scene, const TOBJModel& model, const std::string& fileName, int kind,
                           float scale);

// ReadModelFile then ConvertIntoScene (a partly read file converts what was read).
bool LoadIntoScene(TScene& scene, const std::string& fileName, int kind, float scale);

// The same conversion into one record outside the element list (the rotation
// handle, a reconstruction result): the last group with points wins. On
// failure "Failed to load model rotate.", false.
bool LoadIntoElement(TScene& scene, TGeosphera& element, const std::string& fileName, int kind, float scale);

// The same conversion of a model already read.
bool ConvertIntoElement(TScene& scene, TGeosphera& element, const TOBJModel& model, const std::string& fileName,
                        int kind, float scale);

// The file as AddMeshToScene and AddSphereElement take it: loaded with
// LoadIntoScene, refused there when its format holds a scene and it has
// several groups.
TModelFile ModelFileToLoad(const std::string& fileName, int kind);
