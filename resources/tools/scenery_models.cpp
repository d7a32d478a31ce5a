#include "scenery_models.h"

#include <cmath>
#include <numbers>

namespace orvane::tools {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Textured stone: the light of the scenery is strong (two lights with 0.8 ambient), so
// the materials stay mid-grey and let the texture carry the colour.
MaterialSpec Stone(const std::string& name, const std::string& map) {
  return {name, map, {77, 77, 77}, {130, 130, 130}, {26, 26, 26}, 75, 0};
}

CameraSpec SceneCamera() { return {"Camera01", {0.0f, 2.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, 50.0f}; }

}  // namespace

SceneSpec FloorScene() {
  constexpr float kOuter = 3.5f, kInner = 3.0f, kSlabTop = 0.2f, kBorderTop = 0.26f, kBottom = -0.3f;
  Mesh slabs{"Slabs", "FLOOR_SLABS"};
  // One slab of the texture per unit: three across its width, two down its height.
  slabs.AddQuad({V3{-kInner, kSlabTop, kInner}, V3{kInner, kSlabTop, kInner}, V3{kInner, kSlabTop, -kInner},
                 V3{-kInner, kSlabTop, -kInner}},
                {V2{-1.0f, -1.5f}, V2{1.0f, -1.5f}, V2{1.0f, 1.5f}, V2{-1.0f, 1.5f}}, {0, 1, 0});

  Mesh border{"Border", "FLOOR_BORDER"};
  auto uvTop = [](V3 p) { return V2{p.x / 2.2f, -p.z / 1.5f}; };
  for (int side = 0; side < 4; ++side) {
    // Turn the +z side a quarter at a time.
    auto turn = [side](float x, float y, float z) {
      V3 p{x, y, z};
      for (int k = 0; k < side; ++k) p = {p.z, p.y, -p.x};
      return p;
    };
    const V3 facingOut = turn(0, 0, 1);
    const std::array<V3, 4> top = {turn(-kOuter, kBorderTop, kOuter), turn(kOuter, kBorderTop, kOuter),
                                   turn(kInner, kBorderTop, kInner), turn(-kInner, kBorderTop, kInner)};
    border.AddQuad(top, {uvTop(top[0]), uvTop(top[1]), uvTop(top[2]), uvTop(top[3])}, {0, 1, 0});
    // The step down to the slabs, facing the middle of the stage.
    border.AddQuad(
        {turn(-kInner, kSlabTop, kInner), turn(kInner, kSlabTop, kInner), turn(kInner, kBorderTop, kInner),
         turn(-kInner, kBorderTop, kInner)},
        {V2{-kInner / 2.2f, 0.0f}, V2{kInner / 2.2f, 0.0f}, V2{kInner / 2.2f, 0.04f}, V2{-kInner / 2.2f, 0.04f}},
        facingOut * -1.0f);
    // The outer face of the stage.
    border.AddQuad({turn(-kOuter, kBottom, kOuter), turn(kOuter, kBottom, kOuter), turn(kOuter, kBorderTop, kOuter),
                    turn(-kOuter, kBorderTop, kOuter)},
                   {V2{-kOuter / 2.2f, kBottom / 1.5f}, V2{kOuter / 2.2f, kBottom / 1.5f},
                    V2{kOuter / 2.2f, kBorderTop / 1.5f}, V2{-kOuter / 2.2f, kBorderTop / 1.5f}},
                   facingOut);
  }
  border.AddQuad({V3{-kOuter, kBottom, -kOuter}, V3{kOuter, kBottom, -kOuter}, V3{kOuter, kBottom, kOuter},
                  V3{-kOuter, kBottom, kOuter}},
                 {V2{0, 0}, V2{3, 0}, V2{3, 3}, V2{0, 3}}, {0, -1, 0});

  SceneSpec scene;
  scene.Materials = {Stone("FLOOR_SLABS", "LIMESTO3.JPG"), Stone("FLOOR_BORDER", "STUCCO.JPG")};
  scene.Meshes = {slabs, border};
  scene.Lines = {{"Axis01", {-kOuter, kBorderTop, 0.0f}, {kOuter, kBorderTop, 0.0f}}};
  scene.Cameras = {SceneCamera()};
  return scene;
}

SceneSpec ColumnScene() {
  Mesh pedestal{"Pedestal", "COLUMN_BRICK"};
  AddBox(pedestal, {-0.36f, 0.0f, -0.36f}, {0.36f, 0.45f, 0.36f}, 0.72f, 0.488f, "-y");

  Mesh base{"Base", "COLUMN_SAND"};
  Revolution ring;
  ring.Segments = 48;
  ring.uRepeats = 2.0f;
  ring.vScale = 0.5f;
  // clang-format off
  AddRevolution(base, {{0.33f, 0.45f}, {0.34f, 0.47f}, {0.345f, 0.50f}, {0.335f, 0.53f}, {0.30f, 0.55f},
                       {0.27f, 0.56f}, {0.26f, 0.58f}, {0.275f, 0.60f}, {0.28f, 0.62f}, {0.26f, 0.64f},
                       {0.235f, 0.65f}},
                ring);
  // clang-format on

  Mesh shaft{"Shaft", "COLUMN_STUCCO"};
  Revolution fluted;
  fluted.Segments = 16 * 6;
  fluted.uRepeats = 1.0f;
  fluted.vScale = 0.93f;
  // Sixteen flutes, each a shallow groove between narrow flat fillets.
  fluted.Shape = [](float r, float angle) {
    const float t = std::fmod(angle / (2.0f * kPi) * 16.0f, 1.0f);
    const float groove = (t > 0.12f && t < 0.88f) ? std::sin(kPi * (t - 0.12f) / 0.76f) : 0.0f;
    return r - 0.022f * groove;
  };
  AddRevolution(shaft, {{0.23f, 0.65f}, {0.226f, 1.9f}, {0.205f, 3.12f}}, fluted);

  Mesh capital{"Capital", "COLUMN_SAND"};
  // clang-format off
  AddRevolution(capital, {{0.205f, 3.12f}, {0.225f, 3.13f}, {0.235f, 3.15f}, {0.225f, 3.17f}, {0.205f, 3.18f},
                          {0.21f, 3.19f}, {0.24f, 3.22f}, {0.28f, 3.26f}, {0.32f, 3.29f}, {0.345f, 3.30f}},
                ring);
  // clang-format on

  Mesh abacus{"Abacus", "COLUMN_ABACUS"};
  AddBox(abacus, {-0.38f, 3.30f, -0.38f}, {0.38f, 3.56f, 0.38f}, 0.76f, 0.535f);

  SceneSpec scene;
  scene.Materials = {Stone("COLUMN_BRICK", "YELLOBRK.JPG"), Stone("COLUMN_SAND", "SAND3.JPG"),
                     Stone("COLUMN_STUCCO", "STUCCO4.JPG"), Stone("COLUMN_ABACUS", "GRYDIRT2.JPG")};
  scene.Meshes = {pedestal, base, shaft, capital, abacus};
  scene.Cameras = {SceneCamera()};
  return scene;
}

SceneSpec ArcScene() {
  constexpr float kHalfWidth = 2.88f, kInnerRadius = 2.12f, kOuterRadius = 2.42f, kSpring = 0.30f;
  constexpr float kTop = 3.66f, kHalfDepth = 0.30f;
  constexpr int kSteps = 32;
  auto arcPoint = [&](float radius, int k, float z) {
    const float a = kPi * static_cast<float>(k) / kSteps;
    return V3{radius * std::cos(a), kSpring + radius * std::sin(a), z};
  };
  auto wallUv = [](V3 p) { return V2{p.x / 2.2f, p.y / 1.5f}; };

  Mesh wall{"ArchWall", "ARCH_WALL"};
  Mesh trim{"ArchTrim", "ARCH_TRIM"};
  for (float side : {1.0f, -1.0f}) {  // front (+z) and back (-z)
    const float z = side * kHalfDepth;
    const V3 facing{0, 0, side};
    auto flat = [&](V3 a, V3 b, V3 c) {
      const int i = wall.AddVertex(a, wallUv(a)), j = wall.AddVertex(b, wallUv(b)), k = wall.AddVertex(c, wallUv(c));
      wall.AddTriangle(i, j, k, facing);
    };
    for (float sx : {1.0f, -1.0f}) {
      // The pier below the springing line.
      const std::array<V3, 4> pier = {V3{sx * kInnerRadius, 0, z}, V3{sx * kHalfWidth, 0, z},
                                      V3{sx * kHalfWidth, kSpring, z}, V3{sx * kInnerRadius, kSpring, z}};
      wall.AddQuad(pier, {wallUv(pier[0]), wallUv(pier[1]), wallUv(pier[2]), wallUv(pier[3])}, facing);
      // The spandrel: a fan from the top corner over its quarter of the archivolt.
      const V3 corner{sx * kHalfWidth, kTop, z};
      const int first = sx > 0 ? 0 : kSteps / 2, last = sx > 0 ? kSteps / 2 : kSteps;
      for (int k = first; k < last; ++k) flat(corner, arcPoint(kOuterRadius, k, z), arcPoint(kOuterRadius, k + 1, z));
      const int foot = sx > 0 ? 0 : kSteps, crown = kSteps / 2;
      flat(corner, V3{sx * kHalfWidth, kSpring, z}, arcPoint(kOuterRadius, foot, z));
      flat(corner, arcPoint(kOuterRadius, crown, z), V3{0, kTop, z});
    }
    // The archivolt band, in the trim stucco.
    for (int k = 0; k < kSteps; ++k) {
      const float u0 = 4.0f * static_cast<float>(k) / kSteps, u1 = 4.0f * static_cast<float>(k + 1) / kSteps;
      trim.AddQuad({arcPoint(kInnerRadius, k, z), arcPoint(kOuterRadius, k, z), arcPoint(kOuterRadius, k + 1, z),
                    arcPoint(kInnerRadius, k + 1, z)},
                   {V2{u0, 0}, V2{u0, 0.25f}, V2{u1, 0.25f}, V2{u1, 0}}, facing);
    }
  }
  // The underside of the arch, facing its centre.
  for (int k = 0; k < kSteps; ++k) {
    const float u0 = 4.0f * static_cast<float>(k) / kSteps, u1 = 4.0f * static_cast<float>(k + 1) / kSteps;
    const V3 mid = arcPoint(kInnerRadius, k, 0) + arcPoint(kInnerRadius, k + 1, 0);
    trim.AddQuad({arcPoint(kInnerRadius, k, -kHalfDepth), arcPoint(kInnerRadius, k, kHalfDepth),
                  arcPoint(kInnerRadius, k + 1, kHalfDepth), arcPoint(kInnerRadius, k + 1, -kHalfDepth)},
                 {V2{u0, 0}, V2{u0, 0.5f}, V2{u1, 0.5f}, V2{u1, 0}}, V3{0, 2 * kSpring, 0} - mid);
  }
  for (float sx : {1.0f, -1.0f}) {
    // Pier faces: inside below the springing, outside, and the foot on the abacus.
    wall.AddQuad({V3{sx * kInnerRadius, 0, -kHalfDepth}, V3{sx * kInnerRadius, 0, kHalfDepth},
                  V3{sx * kInnerRadius, kSpring, kHalfDepth}, V3{sx * kInnerRadius, kSpring, -kHalfDepth}},
                 {V2{0, 0}, V2{0.27f, 0}, V2{0.27f, 0.2f}, V2{0, 0.2f}}, {-sx, 0, 0});
    wall.AddQuad({V3{sx * kHalfWidth, 0, -kHalfDepth}, V3{sx * kHalfWidth, 0, kHalfDepth},
                  V3{sx * kHalfWidth, kTop, kHalfDepth}, V3{sx * kHalfWidth, kTop, -kHalfDepth}},
                 {V2{0, 0}, V2{0.27f, 0}, V2{0.27f, kTop / 1.5f}, V2{0, kTop / 1.5f}}, {sx, 0, 0});
    wall.AddQuad({V3{sx * kInnerRadius, 0, -kHalfDepth}, V3{sx * kHalfWidth, 0, -kHalfDepth},
                  V3{sx * kHalfWidth, 0, kHalfDepth}, V3{sx * kInnerRadius, 0, kHalfDepth}},
                 {V2{0, 0}, V2{0.35f, 0}, V2{0.35f, 0.4f}, V2{0, 0.4f}}, {0, -1, 0});
  }
  // The cornice over the whole arch.
  AddBox(trim, {-3.0f, kTop, -0.38f}, {3.0f, 3.80f, 0.38f}, 1.78f, 1.5f);

  // The name plate over the crown, on the front only; it shows the middle half of the
  // logo texture, where the word is.
  Mesh logo{"ArchLogo", "ARCH_LOGO"};
  constexpr float kPlateLeft = -1.05f, kPlateRight = 1.05f, kPlateLow = 2.80f, kPlateHigh = 3.50f;
  constexpr float kPlateBack = kHalfDepth, kPlateFront = kHalfDepth + 0.045f;
  logo.AddQuad({V3{kPlateLeft, kPlateLow, kPlateFront}, V3{kPlateRight, kPlateLow, kPlateFront},
                V3{kPlateRight, kPlateHigh, kPlateFront}, V3{kPlateLeft, kPlateHigh, kPlateFront}},
               {V2{0, 0.25f}, V2{1, 0.25f}, V2{1, 0.75f}, V2{0, 0.75f}}, {0, 0, 1});
  const V2 dark{0.01f, 0.27f};
  AddBox(logo, {kPlateLeft, kPlateLow, kPlateBack}, {kPlateRight, kPlateHigh, kPlateFront}, 1.0f, 1.0f, "+z -z");
  for (size_t i = logo.TexCoords.size() - 16; i < logo.TexCoords.size(); ++i) logo.TexCoords[i] = dark;

  SceneSpec scene;
  // clang-format off
  scene.Materials = {Stone("ARCH_WALL", "STUCCO.JPG"), Stone("ARCH_TRIM", "STUCCO4.JPG"),
                     {"ARCH_LOGO", "OVLOGO.JPG", {90, 90, 90}, {150, 150, 150}, {60, 60, 60}, 60, 0}};
  // clang-format on
  scene.Meshes = {wall, trim, logo};
  scene.Lines = {{"Axis01", {-kHalfWidth, 0.0f, 0.0f}, {kHalfWidth, 0.0f, 0.0f}}};
  scene.Cameras = {SceneCamera()};
  return scene;
}

SceneSpec CameraScene() {
  Mesh body{"Body", "CAM_BODY"};
  AddBox(body, {-0.12f, -0.07f, -0.09f}, {0.10f, 0.07f, 0.09f}, 1.0f, 1.0f);

  Mesh lens{"Lens", "CAM_LENS"};
  Revolution barrel;
  barrel.Axis = {1, 0, 0};
  barrel.Side1 = {0, 1, 0};
  barrel.Side2 = {0, 0, 1};
  barrel.Segments = 24;
  barrel.CapEnd = true;
  AddRevolution(lens, {{0.05f, 0.10f}, {0.05f, 0.20f}, {0.058f, 0.21f}, {0.068f, 0.25f}}, barrel);

  Mesh reels{"Reels", "CAM_REEL"};
  Revolution reel;
  reel.Axis = {0, 1, 0};
  reel.Side1 = {0, 0, 1};
  reel.Side2 = {1, 0, 0};
  reel.Segments = 24;
  reel.CapStart = true;
  reel.CapEnd = true;
  for (float x : {-0.07f, 0.05f}) {
    reel.Origin = {x, 0.0f, -0.165f};
    AddRevolution(reels, {{0.075f, -0.025f}, {0.075f, 0.025f}}, reel);
  }

  SceneSpec scene;
  scene.Materials = {{"CAM_BODY", "", {30, 30, 36}, {60, 62, 72}, {200, 200, 200}, 60, 0},
                     {"CAM_LENS", "", {10, 10, 12}, {25, 25, 30}, {230, 230, 230}, 40, 0},
                     {"CAM_REEL", "", {70, 70, 74}, {160, 160, 170}, {255, 255, 255}, 50, 0}};
  scene.Meshes = {body, lens, reels};
  scene.Cameras = {{"Camera01", {0.0f, 0.0f, 2.0f}, {0.0f, 0.0f, 0.0f}, 35.0f}};
  return scene;
}

}  // namespace orvane::tools
