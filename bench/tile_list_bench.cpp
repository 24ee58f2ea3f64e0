// Building a job's tile list of a million tiles: the time of the first build and the median of five, and
// the process's peak memory beside the bytes the nodes themselves take.
#include "geo/tile_math.h"
#include "jobs/tile_list.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvano;

namespace {

// The peak resident size of this process so far, in MiB (VmHWM).
double peakMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

} // namespace

int main() {
    // 1000 x 1000 tiles at level 20, the corner inside a tile so the walk takes exactly that many.
    geo::Position corner{55.75, -37.6};
    const geo::TileLocation at = geo::LocateTile(20, corner);
    geo::ShiftPosition(1 - at.pixelColumn, 1 - at.pixelRow, 20, corner);
    const GridRect rect{20, corner, 256 * 1000 - 1, 256 * 1000 - 1};
    const double before = peakMiB();
    std::vector<double> ms;
    std::size_t tiles = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const JobTileList list = JobTileList::forLevel(rect);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        tiles = list.size();
    }
    const double first = ms.front(); // the one a user waits for: its memory is new to the process
    std::sort(ms.begin(), ms.end());
    std::printf("tile list: %zu tiles, first build %.1f ms, median of 5 %.1f ms (%.1f to %.1f)\n", tiles, first, ms[2],
                ms.front(), ms.back());
    std::printf("node %zu bytes, list %.1f MiB; process peak %.1f MiB (%.1f MiB before the first build)\n",
                sizeof(JobTile), double(tiles * sizeof(JobTile)) / (1 << 20), peakMiB(), before);
    return tiles == 1000000 ? 0 : 1;
}
