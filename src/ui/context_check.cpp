#include "ui/context_check.h"

namespace orvane {

std::optional<std::string> ContextFailure(const ContextFacts& facts) {
  if (!facts.HasWindow) return "Unable to get a device context.";
  if (!facts.FormatFound) return "Unable to find a suitable pixel format.";
  if (!facts.FormatSet) return "Unable to set the pixel format.";
  if (!facts.ContextCreated) return "Unable to create an OpenGL rendering context.";
  if (!facts.ContextCurrent) return "Unable to activate OpenGL rendering context.";
  return std::nullopt;
}

}  // namespace orvane
