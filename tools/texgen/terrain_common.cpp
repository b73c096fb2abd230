#include "terrain_common.hpp"

namespace texgen {

double stroke_at(std::uint64_t seed, int x, int y, int g, int min_len, int max_len, double density) {
    const int size = kCell / g;
    const int cx = floor_int(double(x) / size), cy = floor_int(double(y) / size);
    double best = -1.0;
    // Strokes reach up to max_len pixels above their foot: look at the cells below too.
    const int reach = (max_len + size - 1) / size;
    for (int dy = -1; dy <= reach; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int i = cx + dx, j = cy + dy;
            std::uint64_t h = hash_ints(seed, wrap(i, g), wrap(j, g));
            if (unit_from_hash(h) >= density) continue;
            int fx = i * size + static_cast<int>(mix_hash(h) % static_cast<std::uint64_t>(size));
            int fy = j * size + static_cast<int>(mix_hash(h + 1) % static_cast<std::uint64_t>(size));
            int len = min_len + static_cast<int>(mix_hash(h + 2) % static_cast<std::uint64_t>(max_len - min_len + 1));
            int lean = static_cast<int>(mix_hash(h + 3) % 3) - 1;
            int k = fy - y;
            if (k == -1 && x == fx && best < 0.0) best = -2.0;
            if (k < 0 || k >= len) continue;
            if (x == fx + (lean * k) / 2) {
                double t = double(k) / (len - 1 > 0 ? len - 1 : 1);
                if (t > best) best = t;
            }
        }
    return best;
}

}  // namespace texgen
