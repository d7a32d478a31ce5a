#include "util/date_time.h"

#include <sys/time.h>
#include <ctime>

namespace orvane {
namespace {

// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

}  // namespace

double CurrentDateTime() {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm local{};
  const time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  const double localSeconds =
      static_cast<double>(now.tv_sec) + static_cast<double>(local.tm_gmtoff) + static_cast<double>(now.tv_usec) / 1e6;
  return kUnixEpochDays + localSeconds / 86400.0;
}

}  // namespace orvane
