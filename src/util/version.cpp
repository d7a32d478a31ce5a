#include "util/version.h"

#ifndef ORVANE_VERSION
#error "the build defines ORVANE_VERSION"
#endif

namespace orvane {

const char* ProgramVersion() { return ORVANE_VERSION; }

}  // namespace orvane
