#include "media/video_reader.h"

#include "media/av_error.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace orvane {
namespace {

struct Input {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  ~Input() {
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    av_packet_free(&packet);
    av_frame_free(&frame);
  }
};

Result<> OpenInput(const std::string& path, Input& in) {
  QuietAvLog();
  const std::string url = "file:" + path;
  if (const int r = avformat_open_input(&in.format, url.c_str(), nullptr, nullptr); r < 0) {
    return Fail(path + ": " + AvErrorText(r));
  }
  if (const int r = avformat_find_stream_info(in.format, nullptr); r < 0) {
    return Fail(path + ": " + AvErrorText(r));
  }
  return {};
}

double StreamSeconds(const AVStream& s) {
  return s.duration == AV_NOPTS_VALUE ? 0 : static_cast<double>(s.duration) * av_q2d(s.time_base);
}

}  // namespace

Result<VideoFileFacts> ReadVideoFacts(const std::string& path) {
  Input in;
  if (Result<> opened = OpenInput(path, in); !opened) return opened.Error();
  VideoFileFacts facts;
  facts.Seconds = in.format->duration == AV_NOPTS_VALUE ? 0 : static_cast<double>(in.format->duration) / AV_TIME_BASE;
  int video_index = -1;
  for (unsigned i = 0; i < in.format->nb_streams; ++i) {
    const AVStream& s = *in.format->streams[i];
    MediaStreamFacts f;
    f.Codec = avcodec_get_name(s.codecpar->codec_id);
    f.Seconds = StreamSeconds(s);
    if (s.codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !facts.Video) {
      f.Width = s.codecpar->width;
      f.Height = s.codecpar->height;
      f.FramesPerSecond = av_q2d(s.avg_frame_rate);
      facts.Video = f;
      video_index = static_cast<int>(i);
    } else if (s.codecpar->codec_type == AVMEDIA_TYPE_AUDIO && !facts.Audio) {
      f.SampleRate = s.codecpar->sample_rate;
      f.Channels = s.codecpar->ch_layout.nb_channels;
      facts.Audio = f;
    }
  }
  while (video_index >= 0 && av_read_frame(in.format, in.packet) >= 0) {
    if (in.packet->stream_index == video_index) ++facts.Video->Packets;
    av_packet_unref(in.packet);
  }
  return facts;
}

Result<std::vector<uint8_t>> DecodeVideoFrame(const std::string& path, int64_t index) {
  Input in;
  if (Result<> opened = OpenInput(path, in); !opened) return opened.Error();
  const AVCodec* codec = nullptr;
  const int stream = av_find_best_stream(in.format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (stream < 0 || codec == nullptr) {
    return Fail(path + ": no picture stream");
  }
  in.codec = avcodec_alloc_context3(codec);
  if (in.codec == nullptr || avcodec_parameters_to_context(in.codec, in.format->streams[stream]->codecpar) < 0 ||
      avcodec_open2(in.codec, codec, nullptr) < 0) {
    return Fail(path + ": the pictures do not decode");
  }
  int64_t seen = 0;
  bool input_done = false;
  for (;;) {
    const int r = avcodec_receive_frame(in.codec, in.frame);
    if (r == 0) {
      if (seen++ != index) {
        av_frame_unref(in.frame);
        continue;
      }
      const int w = in.frame->width, h = in.frame->height;
      SwsContext* scaler = sws_getContext(w, h, static_cast<AVPixelFormat>(in.frame->format), w, h, AV_PIX_FMT_RGB24,
                                          SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
      if (scaler == nullptr) {
        return Fail(path + ": no colour conversion to RGB");
      }
      const int* matrix = sws_getCoefficients(in.frame->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT);
      sws_setColorspaceDetails(scaler, matrix, in.frame->color_range == AVCOL_RANGE_JPEG ? 1 : 0, matrix, 1, 0, 1 << 16,
                               1 << 16);
      std::vector<uint8_t> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
      uint8_t* out[1] = {rgb.data()};
      const int stride[1] = {w * 3};
      sws_scale(scaler, in.frame->data, in.frame->linesize, 0, h, out, stride);
      sws_freeContext(scaler);
      return rgb;
    }
    if (r != AVERROR(EAGAIN) || input_done) break;
    if (av_read_frame(in.format, in.packet) < 0) {
      avcodec_send_packet(in.codec, nullptr);
      input_done = true;
      continue;
    }
    if (in.packet->stream_index == stream) avcodec_send_packet(in.codec, in.packet);
    av_packet_unref(in.packet);
  }
  return Fail(path + ": it has " + std::to_string(seen) + " pictures, not " + std::to_string(index + 1));
}

}  // namespace orvane
