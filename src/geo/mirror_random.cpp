#include "geo/mirror_random.h"

#include <random>

namespace zelvano::geo {

namespace {

std::mt19937& generator() {
    thread_local std::mt19937 engine{std::random_device{}()};
    return engine;
}

} // namespace

int mirrorDigit() {
    return std::uniform_int_distribution<int>(0, 3)(generator());
}

void seedMirrorRandom() {
    generator().seed(std::random_device{}());
}

void seedMirrorRandom(std::uint32_t seed) {
    generator().seed(seed);
}

} // namespace zelvano::geo
