#include "assets/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "app/start_mesh.h"
#include "assets/mesh_preview.h"
#include "base_models.h"
#include "io/model_conversion.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec3 {
  double x, y, z;
};
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Normalized(Vec3 a) { return a * (1.0 / std::sqrt(Dot(a, a))); }

double Smoothstep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Integer hash (a variant of the "lowbias32" mixer) turned into [0, 1).
double Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
               static_cast<uint32_t>(seed) * 0xcb1ab31fu;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0x1000000);
}

int Wrap(int i, int period) { return ((i % period) + period) % period; }

// Value noise on a lattice of `period` cells per unit, tileable over [0, 1).
double TileNoise(double u, double v, int period, int seed) {
  double x = u * period, y = v * period;
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  double fx = Smoothstep(0, 1, x - x0), fy = Smoothstep(0, 1, y - y0);
  auto h = [&](int i, int j) { return Hash(Wrap(i, period), Wrap(j, period), seed); };
  double top = h(x0, y0) + (h(x0 + 1, y0) - h(x0, y0)) * fx;
  double bottom = h(x0, y0 + 1) + (h(x0 + 1, y0 + 1) - h(x0, y0 + 1)) * fx;
  return top + (bottom - top) * fy;
}

double TileFbm(double u, double v, int period, int seed) {
  double sum = 0, weight = 0.5, total = 0;
  for (int octave = 0; octave < 4; ++octave) {
    sum += weight * TileNoise(u, v, period << octave, seed + octave);
    total += weight;
    weight *= 0.5;
  }
  return sum / total;
}

// Distance to the nearest jittered cell point, tileable (Worley, 1996).
double TileCells(double u, double v, int period, int seed) {
  double x = u * period, y = v * period;
  int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  double best = 9;
  for (int j = -1; j <= 1; ++j) {
    for (int i = -1; i <= 1; ++i) {
      int gx = cx + i, gy = cy + j;
      double px = gx + 0.15 + 0.7 * Hash(Wrap(gx, period), Wrap(gy, period), seed);
      double py = gy + 0.15 + 0.7 * Hash(Wrap(gx, period), Wrap(gy, period), seed + 17);
      best = std::min(best, std::hypot(x - px, y - py));
    }
  }
  return best;
}

// Paints every pixel with f(u, v), u and v at pixel centres in [0, 1).
template <typename F>
Raster Grey(int size, F f) {
  Raster image(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) image.SetGrey(x, y, f((x + 0.5) / size, (y + 0.5) / size));
  }
  return image;
}

// Brush alpha images: grey and alpha carry the same value.
template <typename F>
Raster Brush(F f) {
  constexpr int kSize = 128;
  Raster image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double dx = (x + 0.5) / kSize * 2 - 1, dy = (y + 0.5) / kSize * 2 - 1;
      double v = std::clamp(f(std::hypot(dx, dy), std::atan2(dy, dx), (x + 0.5) / kSize, (y + 0.5) / kSize), 0.0, 1.0);
      image.Set(x, y, v, v, v, v);
    }
  }
  return image;
}

double SoftFalloff(double r) { return r >= 1 ? 0 : (1 - r * r) * (1 - r * r); }

double StarRadius(double angle) { return 0.42 + 0.5 * std::pow(std::abs(std::cos(2.5 * angle)), 3.0); }

// Position inside one of n x n tiles, centred: (-0.5 .. 0.5).
double TileCoord(double t, int n) { return t * n - std::floor(t * n) - 0.5; }

// --- environment -----------------------------------------------------------

// A soft studio: a cool sky, a warm floor and two light boxes.
Vec3 Environment(Vec3 dir) {
  dir = Normalized(dir);
  double up = dir.y;
  Vec3 sky{0.46, 0.52, 0.62}, horizon{0.78, 0.78, 0.80}, floor{0.22, 0.20, 0.18};
  Vec3 c = up >= 0 ? horizon + (sky - horizon) * std::pow(up, 0.6) : horizon + (floor - horizon) * std::pow(-up, 0.4);
  auto lightBox = [&](Vec3 centre, double size, double strength) {
    double d = Dot(dir, Normalized(centre));
    return strength * Smoothstep(std::cos(size), std::cos(size * 0.6), d);
  };
  double light = lightBox({0.5, 0.8, 0.6}, 0.35, 0.9) + lightBox({-0.8, 0.3, 0.4}, 0.25, 0.5);
  return c + Vec3{1, 1, 1} * light;
}

// Face directions of a cube map (OpenGL's face layout), s and t in [-1, 1].
Vec3 CubeDirection(int face, double s, double t) {
  switch (face) {
    case 0: return {1, -t, -s};
    case 1: return {-1, -t, s};
    case 2: return {s, 1, t};
    case 3: return {s, -1, -t};
    case 4: return {s, -t, 1};
    default: return {-s, -t, -1};
  }
}

// The texture loader hands rows bottom-up, so t runs from the picture's
// bottom row: the face reaches OpenGL with t = -1 in its first row.
Raster EnvironmentFace(int face) {
  constexpr int kSize = 256;
  Raster image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      Vec3 c = Environment(CubeDirection(face, (x + 0.5) / kSize * 2 - 1, (kSize - 0.5 - y) / kSize * 2 - 1));
      image.Set(x, y, c.x, c.y, c.z);
    }
  }
  return image;
}

// --- start-mesh previews -----------------------------------------------------

struct Sphere {
  Vec3 centre;
  double radius;
};

// Lines on the surface for a point p of the unit sphere: 1 on a line, 0 off.
using SurfaceLines = double (*)(Vec3 p);

double GeodesicLines(Vec3 p) {
  double lat = std::asin(std::clamp(p.y, -1.0, 1.0)), lon = std::atan2(p.z, p.x);
  double a = std::abs(TileCoord(lat / kPi * 12, 1)), b = std::abs(TileCoord(lon / kPi * 12, 1));
  return std::max(Smoothstep(0.44, 0.5, a), Smoothstep(0.44, 0.5, b) * std::sqrt(1 - p.y * p.y));
}

double CubeGridLines(Vec3 p) {
  double m = std::max({std::abs(p.x), std::abs(p.y), std::abs(p.z)});
  Vec3 q = p * (1.0 / m);  // on the cube
  double line = 0;
  for (double c : {q.x, q.y, q.z}) {
    if (std::abs(std::abs(c) - 1) < 1e-9) continue;
    line = std::max(line, Smoothstep(0.42, 0.5, std::abs(TileCoord((c + 1) * 4, 1))));
  }
  return line;
}

double NoLines(Vec3) { return 0; }

Raster Preview(const std::vector<Sphere>& spheres, SurfaceLines lines) {
  constexpr int kSize = 160;
  const Vec3 light = Normalized({-0.4, 0.6, 0.7}), eye{0, 0, 1};
  Raster image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      Vec3 origin{((x + 0.5) / kSize * 2 - 1) * 1.25, (1 - (y + 0.5) / kSize * 2) * 1.25, 10};
      double nearest = 1e9;
      Vec3 colour{0.15, 0.15, 0.15};
      for (const Sphere& s : spheres) {
        // The ray runs along -z: origin - t (0, 0, 1); nearest root of the sphere equation.
        Vec3 oc = origin - s.centre;
        double b = oc.z, c = Dot(oc, oc) - s.radius * s.radius, disc = b * b - c;
        if (disc < 0) continue;
        double t = b - std::sqrt(disc);
        if (t >= nearest) continue;
        nearest = t;
        Vec3 n = Normalized(origin + Vec3{0, 0, -t} - s.centre);
        double diffuse = std::max(0.0, Dot(n, light));
        Vec3 h = Normalized(light + eye);
        double specular = std::pow(std::max(0.0, Dot(n, h)), 13) * 0.45;
        double shade = 0.12 + 0.75 * diffuse;
        Vec3 base = Vec3{0.55, 0.55, 0.58} * (1 - 0.35 * lines(n));
        colour = base * shade + Vec3{1, 1, 1} * specular;
      }
      image.Set(x, y, colour.x, colour.y, colour.z);
    }
  }
  return image;
}

// The shaded picture of a base model's file; a blank one when it
// cannot be read, which the model tests then report.
Raster BaseModelPreview(const std::string& modelFile, PreviewView view) {
  constexpr int kSize = 160;
  TScene scene;
  if (!LoadIntoScene(scene, modelFile, kModelMet, 1.0f)) return Raster(kSize, kSize);
  return RenderPreview(scene.elements[0], view, kSize);
}

}  // namespace

std::vector<PictureRecipe> AllPictures(const std::string& programFolder) {
  std::vector<PictureRecipe> all;
  static const char* const kFaces[6] = {"xpos.jpg", "xneg.jpg", "ypos.jpg", "yneg.jpg", "zpos.jpg", "zneg.jpg"};
  for (int face = 0; face < 6; ++face) {
    all.push_back({kFaces[face], PictureFormat::Jpeg, [face] { return EnvironmentFace(face); }});
  }

  auto brush = [&](const char* name, auto f) { all.push_back({name, PictureFormat::Tga, [f] { return Brush(f); }}); };
  brush("round.tga", [](double r, double, double, double) { return Smoothstep(1.0, 0.9, r); });
  brush("soft.tga", [](double r, double, double, double) { return SoftFalloff(r); });
  brush("diffuse.tga", [](double r, double, double u, double v) {
    return SoftFalloff(r) * (0.35 + 0.9 * TileFbm(u, v, 8, 3));
  });
  brush("disform.tga", [](double r, double a, double, double) {
    double edge = 0.7 + 0.25 * TileNoise(a / (2 * kPi) + 0.5, 0.5, 7, 5);
    return Smoothstep(edge, edge - 0.25, r);
  });
  brush("stones.tga", [](double r, double, double u, double v) {
    return SoftFalloff(r) * Smoothstep(0.55, 0.1, TileCells(u, v, 6, 9));
  });
  brush("lines.tga", [](double r, double, double u, double) {
    return SoftFalloff(r) * (0.5 + 0.5 * std::cos(2 * kPi * 6 * u));
  });
  brush("disc.tga", [](double r, double, double, double) { return std::exp(-std::pow((r - 0.68) / 0.13, 2)); });
  brush("star.tga", [](double r, double a, double, double) {
    double edge = StarRadius(a);
    return Smoothstep(edge, edge - 0.08, r);
  });

  // Stamps tile over the model, so every pattern repeats seamlessly.
  auto stamp = [&](const char* name, auto f) {
    all.push_back({name, PictureFormat::Bmp, [f] { return Grey(128, f); }});
  };
  stamp("defaultx.bmp", [](double u, double v) {
    return 0.5 + 0.5 * std::sin(2 * kPi * u) * std::sin(2 * kPi * v);
  });
  stamp("softx.bmp", [](double u, double v) {
    double x = TileCoord(u, 1), y = TileCoord(v, 1);
    return std::exp(-(x * x + y * y) / 0.03);
  });
  stamp("disformx.bmp", [](double u, double v) { return TileFbm(u, v, 4, 21); });
  stamp("diffuse.bmp", [](double u, double v) { return TileFbm(u, v, 16, 33); });
  stamp("lines1x.bmp", [](double, double v) { return 0.5 + 0.5 * std::cos(2 * kPi * 4 * v); });
  stamp("stonesx.bmp", [](double u, double v) { return Smoothstep(0.6, 0.05, TileCells(u, v, 5, 41)); });
  stamp("star.bmp", [](double u, double v) {
    double x = TileCoord(u, 1) * 2, y = TileCoord(v, 1) * 2;
    double edge = StarRadius(std::atan2(y, x)) * 0.9;
    return Smoothstep(edge, edge - 0.06, std::hypot(x, y));
  });
  stamp("disc1x.bmp", [](double u, double v) {
    double r = std::hypot(TileCoord(u, 1), TileCoord(v, 1));
    return std::exp(-std::pow((r - 0.3) / 0.06, 2));
  });
  auto checker = [](double u, double v) {
    double s = std::sin(2 * kPi * 4 * u) * std::sin(2 * kPi * 4 * v);
    return Smoothstep(-0.15, 0.15, s);
  };
  stamp("xadrezx.bmp", checker);
  stamp("smallballsx.bmp", [](double u, double v) {
    double x = TileCoord(u, 4), y = TileCoord(v, 4), r2 = (x * x + y * y) / 0.16;
    return r2 < 1 ? std::sqrt(1 - r2) : 0.0;
  });
  stamp("lines2x.bmp", [](double u, double v) { return 0.5 + 0.5 * std::cos(2 * kPi * 3 * (u + v)); });
  stamp("lineslittlex.bmp", [](double, double v) { return 0.5 + 0.5 * std::cos(2 * kPi * 16 * v); });
  stamp("xadrez.bmp", [](double u, double v) {
    return (static_cast<int>(u * 8) + static_cast<int>(v * 8)) % 2 == 0 ? 1.0 : 0.0;
  });

  // Previews of the start meshes whose models the generator set ships.
  all.push_back({"ballbase.jpg", PictureFormat::Jpeg, [] { return Preview({{{0, 0, 0}, 1}}, GeodesicLines); }});
  all.push_back({"cubesphere.jpg", PictureFormat::Jpeg, [] { return Preview({{{0, 0, 0}, 1}}, CubeGridLines); }});
  all.push_back({"skechbase.jpg", PictureFormat::Jpeg, [] {
                   return Preview({{{0, -0.15, 0}, 0.7}, {{0, 0.72, 0.1}, 0.35}, {{0.62, 0.1, 0.2}, 0.28},
                                   {{-0.62, 0.1, 0.2}, 0.28}},
                                  NoLines);
                 }});
  for (const BaseModel& model : BaseModels()) {
    const TStartMeshChoice& choice = kStartMeshChoices[size_t(model.choice - 1)];
    const std::string file = (std::filesystem::path(programFolder) / choice.model).string();
    const PreviewView view{model.previewYaw, model.previewPitch};
    all.push_back({std::filesystem::path(choice.preview).filename().string(), PictureFormat::Jpeg,
                   [file, view] { return BaseModelPreview(file, view); }});
  }
  return all;
}
