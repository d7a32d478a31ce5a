#define GL_GLEXT_PROTOTYPES 1

#include "viewer/gl_state_guard.h"

#include "viewer/gl_headers.h"

namespace orvane {
namespace {

int32_t Integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

int32_t BoundTexture(GLenum unit) {
  glActiveTexture(unit);
  return Integer(GL_TEXTURE_BINDING_2D);
}

void Enable(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

}  // namespace

GlStateGuard::GlStateGuard() {
  glGetIntegerv(GL_VIEWPORT, viewport_);
  drawFramebuffer_ = Integer(GL_DRAW_FRAMEBUFFER_BINDING);
  readFramebuffer_ = Integer(GL_READ_FRAMEBUFFER_BINDING);
  program_ = Integer(GL_CURRENT_PROGRAM);
  vertexArray_ = Integer(GL_VERTEX_ARRAY_BINDING);
  arrayBuffer_ = Integer(GL_ARRAY_BUFFER_BINDING);
  activeTexture_ = Integer(GL_ACTIVE_TEXTURE);
  for (int i = 0; i < 4; ++i) textures_[i] = BoundTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
  glActiveTexture(static_cast<GLenum>(activeTexture_));
  blendSrcRgb_ = Integer(GL_BLEND_SRC_RGB);
  blendDstRgb_ = Integer(GL_BLEND_DST_RGB);
  blendSrcAlpha_ = Integer(GL_BLEND_SRC_ALPHA);
  blendDstAlpha_ = Integer(GL_BLEND_DST_ALPHA);
  packAlignment_ = Integer(GL_PACK_ALIGNMENT);
  unpackAlignment_ = Integer(GL_UNPACK_ALIGNMENT);
  blend_ = glIsEnabled(GL_BLEND) == GL_TRUE;
  depthTest_ = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
  cullFace_ = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
  scissor_ = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
  GLboolean mask = GL_TRUE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  depthMask_ = mask;
}

GlStateGuard::~GlStateGuard() {
  glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer_));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer_));
  glUseProgram(static_cast<GLuint>(program_));
  glBindVertexArray(static_cast<GLuint>(vertexArray_));
  glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer_));
  for (int i = 0; i < 4; ++i) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textures_[i]));
  }
  glActiveTexture(static_cast<GLenum>(activeTexture_));
  glBlendFuncSeparate(static_cast<GLenum>(blendSrcRgb_), static_cast<GLenum>(blendDstRgb_),
                      static_cast<GLenum>(blendSrcAlpha_), static_cast<GLenum>(blendDstAlpha_));
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment_);
  Enable(GL_BLEND, blend_);
  Enable(GL_DEPTH_TEST, depthTest_);
  Enable(GL_CULL_FACE, cullFace_);
  Enable(GL_SCISSOR_TEST, scissor_);
  glDepthMask(depthMask_);
}

}  // namespace orvane
