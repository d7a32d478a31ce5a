#pragma once
// Texts the compile shows the user.

#include <cstdint>
#include <string>

namespace orvane {

inline constexpr const char* kRecursivityRefusal =
    "The selected effect generates recursivity and cannot be compiled, please verify.";

inline std::string ShowCutMessage(uint64_t frames) {
  return "The show is too large to compile completely; it was cut at frame " + std::to_string(frames) + ".";
}

inline std::string ShowTooLongMessage(uint64_t frames) {
  return "The show would run past the compile's length bound; it was cut at frame " + std::to_string(frames) + ".";
}

inline std::string ShowWriteFailedMessage(const std::string& path, const std::string& reason) {
  return "The compiled show file \"" + path + "\" could not be written: " + reason + ".";
}

inline std::string NotEnoughDiskSpaceMessage(uint64_t freeBytes) {
  return "Not enough free disk space to go on compiling: " + std::to_string(freeBytes >> 20) + " MiB left.";
}

inline constexpr const char* kCompileOutOfMemory = "There is not enough memory to compile the show.";

// Records left out of the file: their positions are beyond what it can store (PositionFits).
inline std::string CulledMessage(uint64_t records) {
  return std::to_string(records) +
         " particle records were not written: they left the range a show file can store "
         "(-10.92 to 10.92 scene units from the origin).";
}

inline std::string NoDeviceMessage(int32_t code) {
  return "No device with code " + std::to_string(code) + " is in the device list.";
}

}  // namespace orvane
