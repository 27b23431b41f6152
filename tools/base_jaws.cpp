// The jaw bases: dental arches about 5 units wide with their teeth, the
// incisors towards -x and the occlusal plane at y = 0. "Upper Jaw" and
// "Lower Jaw" are the teeth in their gums, the two maxillas the teeth in
// their bones, and the monster's an upper jaw of fangs.
#include <algorithm>
#include <array>
#include <vector>

#include "base_models.h"

namespace {

enum class ToothKind { Incisor, Canine, Premolar, Molar };

// Where a tooth stands: on the arch, the arch's direction towards the back
// there, and the outward (cheek or lip) side.
struct ToothSlot {
  Vec3d at, along, outward;
  double width;
  ToothKind kind;
};

// The left half of a dental arch (z >= 0) from the front midline backwards,
// in the plane y = 0, and the teeth placed along it by their widths.
struct Arch {
  Tube curve;                     // includes the span across the midline
  std::vector<ToothSlot> teeth;   // the half row, front to back
};

// The half row: incisors, canine, two premolars, two molars.
constexpr std::array<ToothKind, 7> kRow{ToothKind::Incisor,  ToothKind::Incisor, ToothKind::Canine, ToothKind::Premolar,
                                        ToothKind::Premolar, ToothKind::Molar,   ToothKind::Molar};

// `scale` stretches the arch front to back (a longer snout above 1).
Arch MakeArch(const std::array<double, 7>& widths, double scale) {
  const Vec3d points[] = {{-1.85 * scale, 0, -0.6}, {-2.0 * scale, 0, 0}, {-1.85 * scale, 0, 0.6},
                          {-1.45 * scale, 0, 1.2},  {-0.8 * scale, 0, 1.75}, {0.1 * scale, 0, 2.05},
                          {1.0 * scale, 0, 2.25},   {1.9 * scale, 0, 2.4},  {2.2 * scale, 0, 2.45}};
  const double radii[std::size(points)] = {};
  Arch arch;
  constexpr int kSteps = 8;
  arch.curve = SmoothTube(points, radii, kSteps);
  // Walk the curve from the midline (the second control point), placing each
  // tooth's centre half its width past the previous tooth's end.
  const std::vector<Vec3d>& c = arch.curve.points;
  size_t i = kSteps;
  double walked = 0, nextCentre = widths[0] / 2, toothStart = 0;
  for (size_t t = 0; t < kRow.size() && i + 1 < c.size();) {
    const double span = Length(c[i + 1] - c[i]);
    if (walked + span < nextCentre) {
      walked += span;
      ++i;
      continue;
    }
    const Vec3d along = Normalized(c[i + 1] - c[i]);
    const Vec3d at = c[i] + along * (nextCentre - walked);
    arch.teeth.push_back({at, along, {-along.z, 0, along.x}, widths[t], kRow[t]});
    toothStart += widths[t];
    if (++t < kRow.size()) nextCentre = toothStart + widths[t] / 2;
  }
  return arch;
}

// A human tooth in its own frame: x along the arch, y from the gum line
// towards the biting edge, z outwards. `w` is its width along the arch.
double HumanTooth(Vec3d q, ToothKind kind, double w) {
  switch (kind) {
    case ToothKind::Incisor: {
      // A shovel: wide and thin, cut straight at the biting edge.
      const double blade = SdEllipsoid(q, {0, 0.4, 0}, {w * 0.52, 0.62, 0.17});
      return SmoothIntersect(blade, q.y - 0.9, 0.05);
    }
    case ToothKind::Canine: {
      const double cone = SdRoundCone(q, {0, 0.1, 0}, {0, 0.86, 0.02}, 0.3, 0.13);
      return SmoothUnion(cone, SdEllipsoid(q, {0, 0.4, 0}, {w * 0.52, 0.45, 0.26}), 0.2);
    }
    case ToothKind::Premolar: {
      double d = SmoothIntersect(SdEllipsoid(q, {0, 0.35, 0}, {w * 0.53, 0.55, 0.34}), q.y - 0.68, 0.1);
      for (double side : {-0.14, 0.14}) d = SmoothUnion(d, SdSphere(q, {0, 0.6, side}, 0.13), 0.1);
      return d;
    }
    case ToothKind::Molar: {
      double d = SdRoundBox(q, {0, 0.32, 0}, {w * 0.5, 0.34, 0.42}, 0.2);
      for (double a : {-0.2, 0.2}) {
        for (double b : {-0.2, 0.2}) d = SmoothUnion(d, SdSphere(q, {a * w * 1.2, 0.55, b}, 0.15), 0.1);
      }
      return d;
    }
  }
  return 1e9;
}

// The monster's teeth: every one a blade to a point, the canines long fangs.
double MonsterTooth(Vec3d q, ToothKind kind, double w) {
  switch (kind) {
    case ToothKind::Incisor:
      return SdRoundCone(q, {0, 0.05, 0}, {0, 0.75, 0.05}, w * 0.38, 0.07);
    case ToothKind::Canine: {
      const Vec3d tip{0, 2.1, -0.25};
      return SmoothUnion(SdRoundCone(q, {0, 0.05, 0}, {0, 1.1, -0.05}, 0.36, 0.2),
                         SdRoundCone(q, {0, 1.1, -0.05}, tip, 0.2, 0.07), 0.1);
    }
    case ToothKind::Premolar:
    case ToothKind::Molar: {
      // Flattened sideways: sharp edges front and back like a shark's.
      const Vec3d flat{q.x, q.y, q.z * 1.8};
      return SdRoundCone(flat, {0, 0.05, 0}, {0, kind == ToothKind::Molar ? 0.7 : 0.85, 0}, w * 0.45, 0.12) / 1.8;
    }
  }
  return 1e9;
}

using ToothShape = double (*)(Vec3d q, ToothKind kind, double w);

// The tooth in slot t at p; `crown` is +1 when the crowns point up.
double ToothAt(Vec3d p, const ToothSlot& t, ToothShape shape, double crown) {
  const Vec3d r = p - t.at;
  // Teeth are smaller than 2.5 units: farther points take the distance to that sphere.
  const double bound = Length(r) - 2.5;
  return bound > 1.0 ? bound : shape({Dot(r, t.along), crown * r.y, Dot(r, t.outward)}, t.kind, t.width);
}

// The half row of teeth of an arch (p.z >= 0) and the other side's front
// tooth, which reaches across the midline.
double TeethRow(Vec3d p, const Arch& arch, ToothShape shape, double crown) {
  constexpr double kBlend = 0.08;
  double d = ToothAt(MirroredZ(p), arch.teeth[0], shape, crown);
  for (const ToothSlot& t : arch.teeth) d = SmoothUnion(d, ToothAt(p, t, shape, crown), kBlend);
  return d;
}

// The arch's curve moved by `offset`, as a tube of one radius made `tall`
// times taller than wide (its distances then fall short by up to that factor).
double Ridge(Vec3d p, const Arch& arch, double radius, Vec3d offset, double tall) {
  Vec3d q = p - offset;
  q.y /= tall;
  return SdTube(q, arch.curve) - radius;
}

// The hard palate of an upper jaw: a plate at `height`, vaulted from below.
double Palate(Vec3d p, double height) {
  return SmoothSubtract(SdEllipsoid(p, {0.15, height, 0}, {2.0, 0.35, 2.0}),
                        SdEllipsoid(p, {0.35, height - 0.4, 0}, {1.4, 0.55, 1.3}), 0.25);
}

const Arch& HumanUpperArch() {
  static const Arch arch = MakeArch({0.77, 0.59, 0.68, 0.63, 0.59, 0.9, 0.81}, 1.0);
  return arch;
}

const Arch& HumanLowerArch() {
  static const Arch arch = MakeArch({0.5, 0.55, 0.62, 0.65, 0.65, 0.98, 0.9}, 0.95);
  return arch;
}

const Arch& MonsterArch() {
  static const Arch arch = MakeArch({0.62, 0.58, 0.95, 0.75, 0.75, 0.85, 0.8}, 1.25);
  return arch;
}

}  // namespace

double UpperJaw(Vec3d q) {
  const Vec3d p = FoldZ(q);
  const Arch& arch = HumanUpperArch();
  // The gums: a ridge hugging the necks of the teeth, and the palate.
  double d = Ridge(p, arch, 0.3, {0, 0.45, 0}, 1.6);
  d = SmoothUnion(d, Palate(p, 0.75), 0.3);
  return SmoothUnion(d, TeethRow(p, arch, HumanTooth, -1), 0.15);
}

double LowerJaw(Vec3d q) {
  const Vec3d p = FoldZ(q);
  const Arch& arch = HumanLowerArch();
  const double d = Ridge(p, arch, 0.3, {0, -0.45, 0}, 1.6);
  return SmoothUnion(d, TeethRow(p, arch, HumanTooth, 1), 0.15);
}

double MaxillaUpper(Vec3d q) {
  const Vec3d p = FoldZ(q);
  const Arch& arch = HumanUpperArch();
  // The bone holding the teeth, its walls rising along the arch and the palate
  // between them, the roots of the cheekbones at the sides; cut level below
  // the nose, with the notch of the nose's opening and the spine at its floor.
  double d = Ridge(p, arch, 0.34, {0, 0.45, 0}, 1.4);
  d = SmoothUnion(d, Ridge(p, arch, 0.3, {0.05, 1.15, 0}, 1.6), 0.3);
  d = SmoothUnion(d, Palate(p, 0.85), 0.35);
  d = SmoothUnion(d, SdEllipsoid(p, {0.35, 1.25, 2.3}, {0.45, 0.5, 0.35}), 0.3);
  d = SmoothSubtract(d, SdEllipsoid(p, {-2.0, 1.75, 0}, {0.75, 0.6, 0.55}), 0.2);
  d = SmoothUnion(d, SdRoundCone(p, {-1.55, 1.15, 0}, {-2.15, 1.2, 0}, 0.14, 0.06), 0.12);
  d = SmoothIntersect(d, p.y - 1.55, 0.15);
  return SmoothUnion(d, TeethRow(p, arch, HumanTooth, -1), 0.12);
}

double MaxillaLower(Vec3d q) {
  const Vec3d p = FoldZ(q);
  const Arch& arch = HumanLowerArch();
  // The body of the jaw bone under the teeth, deeper at the chin.
  double d = Ridge(p, arch, 0.45, {0, -0.45, 0}, 1);
  d = SmoothUnion(d, Ridge(p, arch, 0.4, {0.1, -1.15, 0}, 1), 0.5);
  d = SmoothUnion(d, SdEllipsoid(p, {-1.95, -1.3, 0}, {0.35, 0.42, 0.75}), 0.4);
  // The ramus rising behind the teeth to the joint's knob and the pointed
  // process before it.
  const Frame ramus = FrameAlong({0.2, 1, 0}, {1, 0, 0});
  d = SmoothUnion(d, SdEllipsoid(p, {2.45, 0.4, 2.35}, {1.85, 0.95, 0.2}, ramus), 0.4);
  d = SmoothUnion(d, SdEllipsoid(p, {2.95, 2.15, 2.35}, {0.3, 0.22, 0.5}), 0.2);
  d = SmoothUnion(d, SdRoundCone(p, {2.05, 1.0, 2.3}, {1.8, 2.15, 2.25}, 0.35, 0.08), 0.25);
  d = SmoothSubtract(d, SdEllipsoid(p, {2.42, 2.35, 2.35}, {0.32, 0.45, 0.4}), 0.15);
  return SmoothUnion(d, TeethRow(p, arch, HumanTooth, 1), 0.12);
}

double MaxillaMonster(Vec3d q) {
  const Vec3d p = FoldZ(q);
  const Arch& arch = MonsterArch();
  double d = Ridge(p, arch, 0.45, {0, 0.5, 0}, 1.4);
  d = SmoothUnion(d, SdEllipsoid(p, {0.2, 0.85, 0}, {2.7, 0.4, 2.1}), 0.4);
  return SmoothUnion(d, TeethRow(p, arch, MonsterTooth, -1), 0.15);
}
