#include "base_models.h"

#include <array>

std::span<const BaseModel> BaseModels() {
  static const std::array kModels{
      BaseModel{3, WomanHead, {{-2.0, -2.6, -1.6}, {2.4, 2.7, 1.6}, 80000}, true, 35, 10},
      BaseModel{4, ManHead, {{-2.0, -2.6, -1.6}, {2.0, 2.5, 1.6}, 80000}, true, 35, 10},
      BaseModel{5, WomanBody, {{-1.5, -6.1, -5.2}, {1.3, 6.2, 5.2}, 110000}, true, 25, 5},
      BaseModel{6, ManBody, {{-1.5, -6.1, -5.2}, {1.3, 6.2, 5.2}, 110000}, true, 25, 5},
      BaseModel{7, HumanEar, {{-0.6, -2.6, -1.6}, {1.2, 3.0, 1.9}, 60000}, false, 0, 0},
      BaseModel{8, TRexBody, {{-6.8, -3.6, -2.0}, {6.8, 3.6, 2.0}, 100000}, true, 60, 12},
      BaseModel{10, UpperJaw, {{-2.8, -1.5, -3.2}, {3.3, 1.2, 3.2}, 80000}, true, 30, -30},
      BaseModel{11, LowerJaw, {{-2.7, -1.2, -3.2}, {3.2, 1.5, 3.2}, 80000}, true, 30, 30},
      BaseModel{12, MaxillaLower, {{-2.8, -2.2, -3.2}, {3.8, 2.8, 3.2}, 90000}, true, 35, 20},
      BaseModel{13, MaxillaUpper, {{-2.8, -1.5, -3.2}, {3.3, 2.6, 3.2}, 90000}, true, 30, -15},
      BaseModel{14, MaxillaMonster, {{-3.4, -2.8, -3.4}, {3.9, 1.4, 3.4}, 90000}, true, 30, -20},
      BaseModel{15, ManArm, {{-1.0, -1.0, -3.0}, {1.0, 1.0, 3.3}, 60000}, false, 20, 25},
      BaseModel{16, ManLeg, {{-1.5, -3.2, -1.0}, {1.2, 3.2, 1.0}, 60000}, false, 40, 5},
      BaseModel{17, ManTorso, {{-1.2, -2.7, -2.6}, {1.2, 2.7, 2.6}, 80000}, true, 30, 5},
  };
  return kModels;
}
