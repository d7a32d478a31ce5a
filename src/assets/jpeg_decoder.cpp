// libjpeg with a setjmp/longjmp error manager: its error exit returns here instead of
// ending the process. The functions that hold the jump buffer keep only plain data, so
// no destructor is ever skipped by the jump.

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <jpeglib.h>

#include "assets/texture_image.h"

namespace orvane {

namespace {

struct JumpingErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->Jump, 1);
}

// Warnings (level -1) mean corrupt data: such an image is refused, not shown half-decoded.
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

enum class JpegSource { Memory, File };

struct JpegInput {
  JpegSource Kind;
  std::span<const uint8_t> Bytes;
  std::FILE* File;
};

// Decodes into `image`, whose storage belongs to the caller's frame. Returns false on
// any libjpeg error.
bool DecodeWithJump(const JpegInput& input, TextureImage& image) {
  jpeg_decompress_struct info;
  JumpingErrorManager errors;
  info.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = ErrorExit;
  errors.Base.emit_message = EmitMessage;
  errors.Base.output_message = OutputMessage;
  if (setjmp(errors.Jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = 512L * 1024 * 1024;
  if (input.Kind == JpegSource::Memory) {
    jpeg_mem_src(&info, input.Bytes.data(), static_cast<unsigned long>(input.Bytes.size()));
  } else {
    jpeg_stdio_src(&info, input.File);
  }
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  if (!TextureSizeAcceptable(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  const JDIMENSION width = info.output_width;
  const JDIMENSION height = info.output_height;
  const int components = info.output_components;
  if ((components != 3 && components != 1) || !TextureSizeAcceptable(width, height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  image.Width = static_cast<int32_t>(width);
  image.Height = static_cast<int32_t>(height);
  image.Format = TexturePixelFormat::Rgba;
  try {
    image.Pixels.resize(size_t{width} * height * 4);  // bounded by the size check above
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             width * static_cast<JDIMENSION>(components), 1);
  while (info.output_scanline < height) {
    const JDIMENSION line = info.output_scanline;
    if (jpeg_read_scanlines(&info, row, 1) != 1) {
      jpeg_destroy_decompress(&info);
      return false;
    }
    // Texture rows run bottom first.
    uint8_t* out = image.Pixels.data() + size_t{height - 1 - line} * width * 4;
    const JSAMPLE* in = row[0];
    for (JDIMENSION x = 0; x < width; ++x, out += 4, in += components) {
      out[0] = in[0];
      out[1] = in[components == 3 ? 1 : 0];
      out[2] = in[components == 3 ? 2 : 0];
      out[3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

ImageFault Decode(const JpegInput& input, TextureImage& image) {
  TextureImage decoded;
  if (!DecodeWithJump(input, decoded)) return ImageFault::DecodeError;
  image = std::move(decoded);
  return ImageFault::None;
}

}  // namespace

ImageFault DecodeJpeg(std::span<const uint8_t> bytes, TextureImage& image) {
  if (bytes.empty()) return ImageFault::DecodeError;  // libjpeg's memory source refuses none
  return Decode({JpegSource::Memory, bytes, nullptr}, image);
}

ImageFault DecodeJpegFile(std::FILE* file, TextureImage& image) {
  if (file == nullptr) return ImageFault::DecodeError;
  return Decode({JpegSource::File, {}, file}, image);
}

}  // namespace orvane
