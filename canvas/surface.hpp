#pragma once
#include <cstdint>
#include <memory>
#include <vector>

// The shape under a painted pixel, kept beside the colour so that normal and
// height maps can be made from the generators' own geometry.
//
// Normals are given in the tile's frame: X to the right, Y up the screen, Z
// toward the viewer. The tile's ground is the plane of the picture, so flat
// ground is (0, 0, 1), the world's up is +Z, and a horizontal direction on
// the ground points where it runs on screen: towards the viewer is -Y, away
// is +Y. (This is how a 2D engine with lights above the picture reads them.)
struct SurfaceNormal {
    float x = 0.0f, y = 0.0f, z = 1.0f;
};

// A direction in the world, by its parts to the viewer's right, away from the
// viewer along the ground, and up; need not be unit length.
struct WorldDirection {
    double right = 0.0, away = 0.0, up = 1.0;
};

// One painted surface, stored as its few defining numbers; the normal and
// height at a pixel are worked out only when the maps are made, so a
// generator that describes a surface pays for a small copy and nothing else.
struct Surface {
    enum class Shape : std::uint8_t {
        plane,    // one normal everywhere: direction
        dome,     // an ellipsoid seen from the camera: centre (cx, cy), radii (rx, ry)
        upright,  // a round post or cone standing upright: axis cx, radius rx at row cy growing by ry a row,
                  // its side leaning up by direction.up
    };
    Shape shape = Shape::plane;
    WorldDirection direction;
    float cx = 0.0f, cy = 0.0f, rx = 1.0f, ry = 1.0f;
    // Height above the ground, in pixels: base + per_x x + per_y y, never below 0.
    float base = 0.0f, per_x = 0.0f, per_y = 0.0f;
};

// Unit normal in the tile frame for a world direction (zero-length: flat ground).
SurfaceNormal tile_normal(WorldDirection direction);

// The world directions along the tile's two ground axes: i runs from the
// diamond's top corner to its right corner, j from the top corner to its
// left corner (1 pixel across is one step of either on screen).
WorldDirection ground_axes(double along_i, double along_j, double up);

// How long, in pixels of height, one pixel across is along a ground axis in
// a 2:1 view (the view falls 30 degrees, so sqrt(3/2)).
inline constexpr double ground_step_in_height = 1.2247448713915890;

// Everything painted before a surface is named: flat ground, height 0.
Surface flat_ground();

// A plane (wall, roof, fence) whose height grows by one a pixel up the screen
// from a foot line through (foot_x, foot_y) falling by foot_slope a pixel to
// the right; lift is added (a roof starts from the eaves).
Surface standing_plane(WorldDirection direction, float foot_x, float foot_y, float foot_slope, float lift = 0.0f);

// A surface with one normal at one height (a patch of a relief).
Surface plane_at_height(WorldDirection direction, float height);

// Something round seen from the camera (a boulder, a leaf cluster, a bush's
// dome) with its centre and radii on screen, standing on the row foot_y.
Surface dome(float cx, float cy, float rx, float ry, float foot_y);

// An upright round stem (lean 0) or a cone whose side rises by lean (0..1):
// axis at x, radius at row y, growing by growth a row downwards.
Surface round_upright(float axis_x, float radius, float at_y, float growth, double lean, float foot_y);

// The normal and height of a surface at pixel (x, y); signed_height_at is
// the height before it is kept from going below the ground.
SurfaceNormal normal_at(const Surface& surface, int x, int y);
inline float signed_height_at(const Surface& s, int x, int y) {
    return s.base + s.per_x * static_cast<float>(x) + s.per_y * static_cast<float>(y);
}
inline float height_at(const Surface& s, int x, int y) {
    const float h = signed_height_at(s, x, y);
    return h > 0.0f ? h : 0.0f;
}

// The normals of many pixels of one shape of surface, worked out together:
// set() each pixel, then work_out() all of them at once. One array a
// number, and one shape's sums, so they run over several pixels at a time.
class NormalRow {
public:
    explicit NormalRow(Surface::Shape shape) : shape_(shape) {}
    // Room for count pixels. The numbers are not cleared (each pixel's are
    // set before they are read), so making room costs no time.
    void resize(int count);
    // Pixel i is (x, y) of the surface, which has the row's shape.
    void set(int i, const Surface& surface, int x, int y) {
        // Offsets are taken from the pixel's centre.
        const float cx = static_cast<float>(x) + 0.5f, cy = static_cast<float>(y) + 0.5f;
        const auto at = static_cast<std::size_t>(i);
        switch (shape_) {
            case Surface::Shape::plane: set_direction(i, surface.direction); return;
            case Surface::Shape::dome:  // offsets from the centre over the radii
                p[at] = cx - surface.cx, q[at] = surface.rx, r[at] = surface.cy - cy, s[at] = surface.ry;
                return;
            case Surface::Shape::upright:  // offset from the axis over the radius at the row; the lean
                p[at] = cx - surface.cx, q[at] = surface.rx + (cy - surface.cy) * surface.ry;
                r[at] = static_cast<float>(surface.direction.up);
                return;
        }
    }
    // In a row of planes: pixel i faces one way.
    void set_direction(int i, const WorldDirection& d) {
        const auto at = static_cast<std::size_t>(i);
        p[at] = static_cast<float>(d.right), q[at] = static_cast<float>(d.away), r[at] = static_cast<float>(d.up);
    }
    void work_out(int count);

    // Pixel i: the numbers that give its normal (see set()); then the normal.
    float *p = nullptr, *q = nullptr, *r = nullptr, *s = nullptr;
    float *x = nullptr, *y = nullptr, *z = nullptr;

private:
    Surface::Shape shape_;
    std::unique_ptr<float[]> numbers_;
    std::size_t room_ = 0;
};
