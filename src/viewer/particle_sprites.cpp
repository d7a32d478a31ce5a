// The GL 2.0 entry points are exported by every GL library this program links (OSMesa,
// libGL); they are called only after the context reported version 2.0 or later.
#define GL_GLEXT_PROTOTYPES 1

#include "viewer/particle_sprites.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "compiler/show_record.h"
#include "viewer/gl_headers.h"

namespace orvane {
namespace {

// Attribute 0 stands for the vertex position, which every draw needs.
constexpr GLuint kFieldAttribute = 0;
constexpr GLuint kColourAttribute = 1;
constexpr GLuint kAttributes[] = {kFieldAttribute, kColourAttribute};
constexpr size_t kBatch = 16384;
// Wider than the sprite of any particle farther than about a unit from the camera.
constexpr GLint kMargin = 128;

// The record decoded as the quads decode it. The point covers the billboard's square: a
// square parallel to the picture, whose side in pixels is its side in scene units times
// pixels-per-unit over the depth. A point is at least one pixel wide, so a square smaller
// than that keeps the one pixel whose centre it would cover, with the texture coordinate
// the quad has there, or adds nothing. That coordinate is 0.5 + (pixel centre - square's
// centre) / side; a one-pixel point gives 0.5 + (pixel centre - point's centre), so the
// point moves, within the same pixel, to where its own coordinate is the square's. This
// keeps the fragment program to one varying: each one costs the rasterizer per point and pixel.
constexpr const char* kVertexShader = R"(#version 120
attribute vec4 field;
attribute vec4 colour;
uniform float flatten;
uniform vec4 viewport;
uniform float pixelsPerUnit;
varying vec4 tint;
void main() {
  vec3 p = field.xyz / 3000.0;
  if (flatten > 0.5) p.z = 0.0;
  vec4 eye = gl_ModelViewMatrix * vec4(p, 1.0);
  gl_Position = gl_ProjectionMatrix * eye;
  float alphaAndSize = floor(colour.a * 255.0 + 0.5);
  float alphaLevel = floor(alphaAndSize / 16.0);
  float sizeLevel = alphaAndSize - alphaLevel * 16.0;
  float halfSide = sizeLevel > 0.0 ? sizeLevel / 100.0 : 0.005;
  float side = 2.0 * halfSide * pixelsPerUnit / max(-eye.z, 1e-6);
  gl_PointSize = side;
  tint = vec4(colour.rgb, alphaLevel / 15.0);
  if (side < 1.0) {
    vec2 centre = viewport.xy + (gl_Position.xy / gl_Position.w * 0.5 + 0.5) * viewport.zw;
    vec2 pixelCentre = floor(centre) + 0.5;
    vec2 offset = (pixelCentre - centre) / side;
    if (any(greaterThan(abs(offset), vec2(0.5)))) tint.a = 0.0;
    // Kept off the pixel's edges by more than the rasterizer's 1/256-pixel snapping, or it
    // could pick the neighbour.
    vec2 moved = pixelCentre - clamp(offset, -0.495, 0.495);
    gl_Position.xy = ((moved - viewport.xy) / viewport.zw * 2.0 - 1.0) * gl_Position.w;
  }
}
)";

// Texture coordinates run over the square as they run over the quad: (0, 0) at its
// lower left corner.
constexpr const char* kFragmentShader = R"(#version 120
uniform sampler2D sprite;
uniform float textured;
varying vec4 tint;
void main() {
  vec2 st = vec2(gl_PointCoord.x, 1.0 - gl_PointCoord.y);
  vec4 texel = textured > 0.5 ? texture2D(sprite, st) : vec4(1.0);
  gl_FragColor = texel * tint;
}
)";

bool HasVersion2() {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0;
  return version != nullptr && std::sscanf(version, "%d", &major) == 1 && major >= 2;
}

GLuint CompileShader(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

ParticleSprites::~ParticleSprites() {
  // Only with the context still current; a context that is gone took its objects along.
  if (buffer_ != 0 && glGetString(GL_VERSION) != nullptr) glDeleteBuffers(1, &buffer_);
  if (program_ != 0 && glGetString(GL_VERSION) != nullptr) glDeleteProgram(program_);
}

bool ParticleSprites::Available() {
  if (state_ == State::Untried) state_ = Build() ? State::Ready : State::Unavailable;
  return state_ == State::Ready;
}

bool ParticleSprites::Build() {
  if (!HasVersion2()) return false;
  const GLuint vertex = CompileShader(GL_VERTEX_SHADER, kVertexShader);
  const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
  GLint linked = GL_FALSE;
  if (vertex != 0 && fragment != 0) {
    program_ = glCreateProgram();
    glAttachShader(program_, vertex);
    glAttachShader(program_, fragment);
    glBindAttribLocation(program_, kFieldAttribute, "field");
    glBindAttribLocation(program_, kColourAttribute, "colour");
    glLinkProgram(program_);
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  }
  if (vertex != 0) glDeleteShader(vertex);
  if (fragment != 0) glDeleteShader(fragment);
  if (linked != GL_TRUE) {
    if (program_ != 0) glDeleteProgram(program_);
    program_ = 0;
    while (glGetError() != GL_NO_ERROR) {
    }
    return false;
  }
  flatten_ = glGetUniformLocation(program_, "flatten");
  viewport_ = glGetUniformLocation(program_, "viewport");
  pixelsPerUnit_ = glGetUniformLocation(program_, "pixelsPerUnit");
  textured_ = glGetUniformLocation(program_, "textured");
  sprite_ = glGetUniformLocation(program_, "sprite");
  glGenBuffers(1, &buffer_);
  return true;
}

void ParticleSprites::Draw(const uint8_t* records, size_t count, uint32_t texture, bool flatten) {
  if (count == 0 || !Available()) return;
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  // A point whose centre is off the picture is not drawn at all, while a quad there still
  // shows its inner part. So the points are drawn into a viewport kMargin pixels wider on
  // every side, with the projection narrowed to match and the rest cut off by scissors.
  const GLint wide[4] = {viewport[0] - kMargin, viewport[1] - kMargin, viewport[2] + 2 * kMargin,
                         viewport[3] + 2 * kMargin};
  const GLboolean scissored = glIsEnabled(GL_SCISSOR_TEST);
  GLint scissor[4];
  glGetIntegerv(GL_SCISSOR_BOX, scissor);
  glEnable(GL_SCISSOR_TEST);
  if (scissored) {
    const GLint left = std::max(viewport[0], scissor[0]), bottom = std::max(viewport[1], scissor[1]);
    const GLint right = std::min(viewport[0] + viewport[2], scissor[0] + scissor[2]);
    const GLint top = std::min(viewport[1] + viewport[3], scissor[1] + scissor[3]);
    glScissor(left, bottom, std::max(0, right - left), std::max(0, top - bottom));
  } else {
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
  }
  glViewport(wide[0], wide[1], wide[2], wide[3]);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glScalef(static_cast<float>(viewport[2]) / static_cast<float>(wide[2]),
           static_cast<float>(viewport[3]) / static_cast<float>(wide[3]), 1);
  glMultMatrixf(projection);
  glMatrixMode(GL_MODELVIEW);

  glUseProgram(program_);
  glUniform1f(flatten_, flatten ? 1.0f : 0.0f);
  glUniform4f(viewport_, static_cast<float>(wide[0]), static_cast<float>(wide[1]), static_cast<float>(wide[2]),
              static_cast<float>(wide[3]));
  // Pixels a scene unit spans at depth 1: the projection's vertical scale over half the height.
  glUniform1f(pixelsPerUnit_, projection[5] * static_cast<float>(viewport[3]) / 2);
  glUniform1f(textured_, texture != 0 ? 1.0f : 0.0f);
  glUniform1i(sprite_, 0);
  glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
  glEnable(GL_POINT_SPRITE);

  // The records go as they are into one buffer object that lives as long as the program:
  // a fresh copy of a large client array every frame costs the driver an allocation that
  // the C library hands out, and takes back, straight from the kernel.
  const auto bytes = static_cast<GLsizeiptr>(count * kRecordSize);
  glBindBuffer(GL_ARRAY_BUFFER, buffer_);
  if (bytes > bufferBytes_) {
    bufferBytes_ = std::max<GLsizeiptr>(bytes, bufferBytes_ * 2);
    glBufferData(GL_ARRAY_BUFFER, bufferBytes_, nullptr, GL_STREAM_DRAW);
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, records);
  const auto stride = static_cast<GLsizei>(kRecordSize);
  // Four-part formats, which every driver fetches directly: the position's fourth part
  // (the colour's first two bytes) goes unused, and alpha and size come in the colour's.
  glVertexAttribPointer(kFieldAttribute, 4, GL_SHORT, GL_FALSE, stride, reinterpret_cast<const void*>(0));
  glVertexAttribPointer(kColourAttribute, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<const void*>(6));
  for (GLuint a : kAttributes) glEnableVertexAttribArray(a);
  // In batches: one draw of a whole big frame makes the driver take and give back working
  // memory too large for the C library to keep, every frame.
  for (size_t first = 0; first < count; first += kBatch) {
    glDrawArrays(GL_POINTS, static_cast<GLint>(first), static_cast<GLsizei>(std::min(kBatch, count - first)));
  }
  for (GLuint a : kAttributes) glDisableVertexAttribArray(a);
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  glDisable(GL_POINT_SPRITE);
  glDisable(GL_VERTEX_PROGRAM_POINT_SIZE);
  glUseProgram(0);

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
  glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
  if (!scissored) glDisable(GL_SCISSOR_TEST);
}

}  // namespace orvane
