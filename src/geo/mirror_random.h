// The mirror digit: uniformly random 0 to 3, from a generator of the calling thread's own, so threads
// never share generator state. Seeded on first use; reseeded when a program or worker thread starts.
#pragma once

#include <cstdint>

namespace zelvano::geo {

int mirrorDigit();

// Reseeds the calling thread's generator from the system's entropy source.
void seedMirrorRandom();
// Reseeds it with a fixed seed (repeatable runs).
void seedMirrorRandom(std::uint32_t seed);

} // namespace zelvano::geo
