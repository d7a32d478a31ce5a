// GL 2.0 entry points, called only in contexts the caller has checked.
#define GL_GLEXT_PROTOTYPES 1

#include "viewer/gl_program.h"

#include <vector>

#include "viewer/gl_headers.h"

namespace orvane {
namespace {

std::string ShaderLog(GLuint shader) {
  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> text(static_cast<size_t>(length > 0 ? length : 1), '\0');
  glGetShaderInfoLog(shader, static_cast<GLsizei>(text.size()), nullptr, text.data());
  return text.data();
}

GLuint Compile(GLenum kind, const char* source, std::string& error) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok == GL_TRUE) return shader;
  error = (kind == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") + ShaderLog(shader);
  glDeleteShader(shader);
  return 0;
}

}  // namespace

std::string GlProgram::Build(const char* vertex_source, const char* fragment_source) {
  Release();
  std::string error;
  const GLuint vertex = Compile(GL_VERTEX_SHADER, vertex_source, error);
  const GLuint fragment = vertex != 0 ? Compile(GL_FRAGMENT_SHADER, fragment_source, error) : 0;
  if (vertex != 0 && fragment != 0) {
    id_ = glCreateProgram();
    glAttachShader(id_, vertex);
    glAttachShader(id_, fragment);
    glLinkProgram(id_);
    GLint linked = GL_FALSE;
    glGetProgramiv(id_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
      GLint length = 0;
      glGetProgramiv(id_, GL_INFO_LOG_LENGTH, &length);
      std::vector<char> text(static_cast<size_t>(length > 0 ? length : 1), '\0');
      glGetProgramInfoLog(id_, static_cast<GLsizei>(text.size()), nullptr, text.data());
      error = std::string("link: ") + text.data();
      glDeleteProgram(id_);
      id_ = 0;
    }
  }
  if (vertex != 0) glDeleteShader(vertex);
  if (fragment != 0) glDeleteShader(fragment);
  return error;
}

void GlProgram::Use() const { glUseProgram(id_); }

int32_t GlProgram::Uniform(const char* name) const { return glGetUniformLocation(id_, name); }

void GlProgram::Release() {
  if (id_ != 0) glDeleteProgram(id_);
  id_ = 0;
}

}  // namespace orvane
