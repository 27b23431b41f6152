// The base models of the start-mesh chooser, each a signed distance shape of
// the project's own, in model units: y up, the face or front towards -x (the
// start camera's view), the sculptor's symmetry plane z = 0.
#pragma once

#include <span>

#include "field_mesher.h"

struct BaseModel {
  int choice;                        // its entry in kStartMeshChoices (file and preview names)
  double (*distance)(Vec3d p);       // negative inside
  FieldMeshing meshing;              // box and size
  bool mirrorSymmetric;              // false for the single ear, arm and leg
  double previewYaw, previewPitch;   // the preview's view, degrees (PreviewView)
};

std::span<const BaseModel> BaseModels();

// The shapes, one per start-mesh choice.
double WomanHead(Vec3d p);
double ManHead(Vec3d p);
double WomanBody(Vec3d p);
double ManBody(Vec3d p);
double HumanEar(Vec3d p);
double TRexBody(Vec3d p);
double UpperJaw(Vec3d p);
double LowerJaw(Vec3d p);
double MaxillaLower(Vec3d p);
double MaxillaUpper(Vec3d p);
double MaxillaMonster(Vec3d p);
double ManArm(Vec3d p);
double ManLeg(Vec3d p);
double ManTorso(Vec3d p);
