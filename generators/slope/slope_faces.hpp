#pragma once

// The surface of a slope tile: the diamond with its high corners raised by
// one step, folded along one diagonal into two planar faces.
//
// The fold keeps the ground convex: it runs along the diagonal whose corners
// lie higher together, so one raised corner makes a ridge running to it and
// one lowered corner a plateau with a triangle falling to it. A saddle
// (mask 5 or 10) folds along its two high corners: a ridge between two
// hollows, which is what the convex rule makes of it. Where both diagonals
// give the same plane the tile is one face.
//
// Heights are in steps (0 or 1 at the corners) over u (top corner to right
// corner) and v (top corner to left corner), both 0..1.

enum class Fold { none, top_bottom, left_right };

struct FacePlane {
    double at_top = 0, along_u = 0, along_v = 0;  // height = at_top + along_u u + along_v v
    bool flat() const { return along_u == 0 && along_v == 0; }
};

struct SlopeFaces {
    Fold fold = Fold::none;
    // top_bottom: first where u > v (the right face), second where u < v.
    // left_right: first where u + v < 1 (the back face), second in front.
    // none: first only.
    FacePlane first, second;
};

SlopeFaces slope_faces(int mask);
