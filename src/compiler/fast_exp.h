#pragma once
// The program's exponential. Compiled positions depend on its exact values, so the
// simulation uses this and never std::exp. Pure and thread-safe.

namespace orvane {

double FastExp(double x);

}  // namespace orvane
