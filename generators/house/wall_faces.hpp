#pragma once
#include "state/tile_context.hpp"
#include "canvas/drawing_context.hpp"

// A wall or roof pixel of exactly this colour is never painted: it is how
// gables, broken tops and holes show what lies behind.
inline constexpr Colour transparent_key = rgb(255, 0, 255);

// Wall face kinds, back to front as they are painted.
enum WallFace : int { left_front_face = 1, right_front_face = 2, right_back_face = 3, left_back_face = 4 };

// The upright image of a face before projection: L x H pixels of the wall
// texture, row H - 1 standing on the ground.
RasterImage prepare_wall_image(TileContext& context, int face_width, int image_height, bool front);

// Paints one whole face for a house of the given wall height (and, for a
// ruin, its rubble).
void draw_wall_face(TileContext& context, int kind, int house_height);

// The image height of a face: front faces stand L div 2 taller for their
// gable, and are built at that full height however tall.
constexpr int face_image_height(int kind, int face_width, int house_height) {
    return kind == left_front_face || kind == right_front_face ? house_height + face_width / 2 : house_height;
}

// The world directions the faces' visible sides look: the front faces
// outwards; a back face is only ever seen from inside, over or through the
// front, so it looks the way its opposite front face does.
WorldDirection wall_facing(int kind);
