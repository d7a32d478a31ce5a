#pragma once
// Builds 3DS chunks and little-endian fields for the reader tests.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvane::testing {

inline std::string U16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
inline std::string U32(uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
inline std::string F32(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return U32(bits);
}
inline std::string Text(const std::string& s) { return s + std::string(1, '\0'); }

// A chunk whose length field counts its header, data and sub-chunks.
inline std::string Chunk(unsigned id, const std::string& data = {}, std::initializer_list<std::string> kids = {}) {
  std::string body = data;
  for (const std::string& k : kids) body += k;
  return U16(id) + U32(static_cast<uint32_t>(6 + body.size())) + body;
}

// A chunk whose length field says `length`, whatever follows.
inline std::string ChunkWithLength(unsigned id, uint32_t length, const std::string& rest = {}) {
  return U16(id) + U32(length) + rest;
}

inline std::string Model(std::initializer_list<std::string> editorChunks, const std::string& version = {}) {
  std::string editor = Chunk(0x3D3E, U32(3));
  for (const std::string& c : editorChunks) editor += c;
  return Chunk(0x4D4D, version + Chunk(0x3D3D, editor) + Chunk(0xB000));
}

inline std::string Color24(unsigned id, uint8_t r, uint8_t g, uint8_t b) {
  return Chunk(id, {}, {Chunk(0x0011, std::string{static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)})});
}

inline std::string IntPercent(unsigned id, unsigned percent) { return Chunk(id, {}, {Chunk(0x0030, U16(percent))}); }

inline std::string Material(const std::string& name, std::initializer_list<std::string> kids = {}) {
  std::string body = Chunk(0xA000, Text(name));
  for (const std::string& k : kids) body += k;
  return Chunk(0xAFFF, body);
}

inline std::string TexMap(const std::string& mapName) {
  return Chunk(0xA200, {}, {Chunk(0x0030, U16(100)), Chunk(0xA300, Text(mapName))});
}

// Points given in file coordinates (z up).
inline std::string Points(std::initializer_list<float> xyz) {
  std::string data = U16(static_cast<unsigned>(xyz.size() / 3));
  for (float f : xyz) data += F32(f);
  return Chunk(0x4110, data);
}

struct Tri {
  unsigned a, b, c;
};

inline std::string Faces(std::initializer_list<Tri> faces, std::initializer_list<std::string> kids = {}) {
  std::string data = U16(static_cast<unsigned>(faces.size()));
  for (const Tri& f : faces) data += U16(f.a) + U16(f.b) + U16(f.c) + U16(7);
  std::string body = data;
  for (const std::string& k : kids) body += k;
  return Chunk(0x4120, body);
}

inline std::string MatGroup(const std::string& name) { return Chunk(0x4130, Text(name) + U16(1) + U16(0)); }

inline std::string Object(const std::string& name, std::initializer_list<std::string> meshChunks) {
  std::string mesh;
  for (const std::string& c : meshChunks) mesh += c;
  return Chunk(0x4000, Text(name) + Chunk(0x4100, mesh));
}

}  // namespace orvane::testing
