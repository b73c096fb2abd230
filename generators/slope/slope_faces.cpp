#include "generators/slope/slope_faces.hpp"

#include "generators/transition/transition_set.hpp"

SlopeFaces slope_faces(int mask) {
    const double t = corner_terrain(mask, corner_top), r = corner_terrain(mask, corner_right);
    const double b = corner_terrain(mask, corner_bottom), l = corner_terrain(mask, corner_left);
    SlopeFaces faces;
    if (t + b > r + l) {
        faces.fold = Fold::top_bottom;
        faces.first = {t, r - t, b - r};   // through top, right, bottom
        faces.second = {t, b - l, l - t};  // through top, bottom, left
    } else if (r + l > t + b) {
        faces.fold = Fold::left_right;
        faces.first = {t, r - t, l - t};           // through top, right, left
        faces.second = {r + l - b, b - l, b - r};  // through right, bottom, left
    } else {
        faces.first = faces.second = {t, r - t, l - t};
    }
    return faces;
}
