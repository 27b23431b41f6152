// The start-mesh chooser's table: caption, model and preview of each choice.
#pragma once

#include <array>

struct TStartMeshChoice {
  int choice;            // 1 .. 18
  const char* caption;   // button text
  const char* model;     // relative to the program folder; nullptr: the Open command
  const char* preview;   // relative to the program folder; nullptr: none
};

inline constexpr int kSketchChoice = 9;
inline constexpr int kLoadMeshChoice = 18;

inline constexpr std::array<TStartMeshChoice, 18> kStartMeshChoices{{
    {1, "Geosphere", "models/basegeosphere.met", "images/ballbase.jpg"},
    {2, "CubeSphere", "models/basecubesphere.met", "images/cubesphere.jpg"},
    {3, "Woman Head", "models/basewoman.met", "images/womanbase.jpg"},
    {4, "Man Head", "models/baseheadman.met", "images/manheadbase.jpg"},
    {5, "Woman Body", "models/basebodywoman.met", "images/womanbasebody.jpg"},
    {6, "Man Body", "models/basebodyman.met", "images/manbase.jpg"},
    {7, "Human Ear", "models/baseear.met", "images/earbase.jpg"},
    {8, "TRex Body", "models/basetrex.met", "images/dinobase.jpg"},
    {9, "Skech Sphere", "models/basegeosphere.met", "images/skechbase.jpg"},
    {10, "Upper Jaw", "models/maxisup.met", "images/teethbasesup.jpg"},
    {11, "Lower Jaw", "models/maxinf.met", "images/teethbaseinf.jpg"},
    {12, "Maxilla Lower", "models/maxillalower.met", "images/teethbaseinf1.jpg"},
    {13, "Maxilla Upper", "models/maxillaupper.met", "images/teethbasesup1.jpg"},
    {14, "Maxilla Monster", "models/maxillamonster.met", "images/teethbasesupmonster.jpg"},
    {15, "Man Arm", "models/arm.met", "images/armbase.jpg"},
    {16, "Man Leg", "models/leg.met", "images/legbase.jpg"},
    {17, "Man Torso", "models/torsobase.met", "images/torsobase.jpg"},
    {18, "Load Mesh", nullptr, nullptr},
}};
