#include "writer_3ds.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace orvane::tools {

namespace {

struct Chunk {
  uint16_t Id;
  std::vector<uint8_t> Data;
  std::vector<Chunk> Kids;

  explicit Chunk(uint16_t id) : Id(id) {}
  Chunk& U16(unsigned v) {
    Data.push_back(static_cast<uint8_t>(v & 0xFF));
    Data.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    return *this;
  }
  Chunk& U32(uint32_t v) {
    U16(v & 0xFFFF);
    return U16(v >> 16);
  }
  Chunk& F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return U32(bits);
  }
  Chunk& Text(const std::string& s) {
    Data.insert(Data.end(), s.begin(), s.end());
    Data.push_back(0);
    return *this;
  }
  // File coordinates: z up, so display (x, y, z) is stored as (x, -z, y).
  Chunk& Point(V3 p) { return F32(p.x).F32(-p.z).F32(p.y); }
  Chunk& Add(Chunk kid) {
    Kids.push_back(std::move(kid));
    return *this;
  }
};

void Serialize(const Chunk& c, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  out.resize(start + 6);
  out.insert(out.end(), c.Data.begin(), c.Data.end());
  for (const Chunk& k : c.Kids) Serialize(k, out);
  const auto length = static_cast<uint32_t>(out.size() - start);
  out[start] = static_cast<uint8_t>(c.Id & 0xFF);
  out[start + 1] = static_cast<uint8_t>(c.Id >> 8);
  for (int i = 0; i < 4; ++i) out[start + 2 + i] = static_cast<uint8_t>(length >> (8 * i));
}

// A colour as 3D Studio stores it: the colour, then its gamma-corrected twin.
Chunk Color(uint16_t id, const std::array<uint8_t, 3>& rgb) {
  Chunk c(id);
  Chunk color24(0x0011), linear24(0x0012);
  for (uint8_t b : rgb) {
    color24.Data.push_back(b);
    linear24.Data.push_back(b);
  }
  return c.Add(color24).Add(linear24);
}

Chunk Percentage(uint16_t id, uint16_t percent) { return Chunk(id).Add(Chunk(0x0030).U16(percent)); }

Chunk MaterialEntry(const MaterialSpec& m) {
  Chunk entry(0xAFFF);
  entry.Add(Chunk(0xA000).Text(m.Name));
  entry.Add(Color(0xA010, m.Ambient)).Add(Color(0xA020, m.Diffuse)).Add(Color(0xA030, m.Specular));
  entry.Add(Percentage(0xA040, m.ShininessPercent)).Add(Percentage(0xA050, m.TransparencyPercent));
  if (!m.TextureMap.empty()) {
    entry.Add(Chunk(0xA200).Add(Chunk(0x0030).U16(100)).Add(Chunk(0xA300).Text(m.TextureMap)));
  }
  return entry;
}

Chunk IdentityMatrix() {
  Chunk m(0x4160);
  const float rows[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  for (float f : rows) m.F32(f);
  return m;
}

Chunk MeshObject(const Mesh& mesh) {
  Chunk points(0x4110);
  points.U16(static_cast<unsigned>(mesh.Points.size()));
  for (const V3& p : mesh.Points) points.Point(p);
  Chunk tex(0x4140);
  tex.U16(static_cast<unsigned>(mesh.TexCoords.size()));
  for (const V2& t : mesh.TexCoords) tex.F32(t.u).F32(t.v);
  Chunk faces(0x4120);
  faces.U16(static_cast<unsigned>(mesh.Faces.size()));
  for (const auto& f : mesh.Faces) faces.U16(f[0]).U16(f[1]).U16(f[2]).U16(0x0007);
  Chunk group(0x4130);
  group.Text(mesh.Material).U16(static_cast<unsigned>(mesh.Faces.size()));
  for (size_t i = 0; i < mesh.Faces.size(); ++i) group.U16(static_cast<unsigned>(i));
  Chunk smoothing(0x4150);
  for (size_t i = 0; i < mesh.Faces.size(); ++i) smoothing.U32(1);
  faces.Add(group).Add(smoothing);
  Chunk tri(0x4100);
  tri.Add(points).Add(tex).Add(IdentityMatrix()).Add(faces);
  return Chunk(0x4000).Text(mesh.Name).Add(tri);
}

Chunk LineObject(const LineSpec& line) {
  Chunk points(0x4110);
  points.U16(2).Point(line.From).Point(line.To);
  return Chunk(0x4000).Text(line.Name).Add(Chunk(0x4100).Add(points).Add(IdentityMatrix()));
}

Chunk CameraObject(const CameraSpec& camera) {
  Chunk c(0x4700);
  c.Point(camera.Position).Point(camera.Target).F32(0.0f).F32(camera.Lens);
  return Chunk(0x4000).Text(camera.Name).Add(c);
}

Chunk KeyframeData() {
  Chunk header(0xB00A);
  header.U16(5).Text("MAXSCENE").U32(100);
  Chunk segment(0xB008);
  segment.U32(0).U32(100);
  Chunk now(0xB009);
  now.U32(0);
  return Chunk(0xB000).Add(header).Add(segment).Add(now);
}

}  // namespace

std::vector<uint8_t> Build3ds(const SceneSpec& scene) {
  Chunk editor(0x3D3D);
  editor.Add(Chunk(0x3D3E).U32(3));
  for (const MaterialSpec& m : scene.Materials) editor.Add(MaterialEntry(m));
  editor.Add(Chunk(0x0100).F32(1.0f));
  for (const Mesh& mesh : scene.Meshes) editor.Add(MeshObject(mesh));
  for (const LineSpec& line : scene.Lines) editor.Add(LineObject(line));
  for (const CameraSpec& camera : scene.Cameras) editor.Add(CameraObject(camera));
  Chunk main(0x4D4D);
  main.Add(Chunk(0x0002).U32(3)).Add(editor).Add(KeyframeData());
  std::vector<uint8_t> out;
  Serialize(main, out);
  return out;
}

void Write3ds(const SceneSpec& scene, const std::string& path) {
  const std::vector<uint8_t> bytes = Build3ds(scene);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace orvane::tools
