#pragma once
// A GLSL program built from a vertex and a fragment source, in the current context.

#include <cstdint>
#include <string>

namespace orvane {

class GlProgram {
 public:
  GlProgram() = default;
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;

  // Empty when built; else the compiler's or the linker's log.
  std::string Build(const char* vertex_source, const char* fragment_source);
  void Use() const;
  // -1 for a uniform the program does not use.
  int32_t Uniform(const char* name) const;
  uint32_t Id() const { return id_; }
  // With the context current.
  void Release();

 private:
  uint32_t id_ = 0;
};

}  // namespace orvane
