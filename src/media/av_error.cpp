#include "media/av_error.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace orvane {

std::string AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

void QuietAvLog() { av_log_set_level(AV_LOG_QUIET); }

}  // namespace orvane
