#pragma once
// Date-time values as the device files store them: days since 30 December 1899,
// the time of day as the fraction.

namespace orvane {

// The current local date and time in that form.
double CurrentDateTime();

}  // namespace orvane
