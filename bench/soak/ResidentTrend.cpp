#include "bench/soak/ResidentTrend.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long sizePages = 0;
    long residentPages = 0;
    if (!(statm >> sizePages >> residentPages)) {
        return -1;
    }
    return residentPages * sysconf(_SC_PAGESIZE);
}

ResidentTrend::ResidentTrend(long length)
    : points{kWarmUp, kSettled, kSettled + (length - kSettled) / 2, length},
      bytes(points.size(), -1) {}

bool ResidentTrend::Sample(long step) {
    bool read = true;
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (points[k] == step) {
            bytes[k] = ResidentBytes();
            read = read && bytes[k] >= 0;
        }
    }
    return read;
}

bool ResidentTrend::Report(std::FILE* out, const char* program, const char* stepName) const {
    if (std::find(bytes.begin(), bytes.end(), -1L) != bytes.end()) {
        std::fprintf(out, "%s: FAILED, resident memory could not be read at every point\n",
                     program);
        return false;
    }
    for (std::size_t k = 0; k < points.size(); ++k) {
        std::fprintf(out, "%s: resident after %s %ld: %ld KiB", program, stepName, points[k],
                     bytes[k] / 1024);
        if (k == 0) {
            std::fprintf(out, " (end of warm-up)\n");
        } else {
            std::fprintf(out, " (%+ld KiB)\n", (bytes[k] - bytes[k - 1]) / 1024);
        }
    }
    const std::size_t last = points.size() - 1;
    const bool rising = bytes[last - 1] - bytes[last - 2] >= kRiseBytes &&
                        bytes[last] - bytes[last - 1] >= kRiseBytes;
    if (rising) {
        std::fprintf(out,
                     "%s: FAILED, resident memory still rises: %ld KiB or more in each of the "
                     "last two stretches\n",
                     program, kRiseBytes / 1024);
        return false;
    }
    std::fprintf(out,
                 "%s: no leak: resident memory did not rise by %ld KiB in each of the last two "
                 "stretches\n",
                 program, kRiseBytes / 1024);
    return true;
}
