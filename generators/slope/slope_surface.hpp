#pragma once

// The surface of a slope tile: its four corners' heights (in steps, 0 or 1)
// blended bilinearly over the diamond. Along an edge it runs straight
// between that edge's two corners, as the neighbour across it does, so a map
// of slopes has no step; inside it bends smoothly instead of folding into
// two flat faces, so a hillside's light changes gradually and a side facing
// the light is lit as a whole.
//
// u runs from the top corner to the right corner, v from the top corner to
// the left corner, both 0..1 across the tile.
class SlopeSurface {
public:
    explicit SlopeSurface(int mask);
    double height(double u, double v) const {
        return top_ * (1 - u) * (1 - v) + right_ * u * (1 - v) + left_ * (1 - u) * v + bottom_ * u * v;
    }
    // How fast the height rises along u and along v.
    double rise_u(double v) const { return (right_ - top_) * (1 - v) + (bottom_ - left_) * v; }
    double rise_v(double u) const { return (left_ - top_) * (1 - u) + (bottom_ - right_) * u; }
    bool flat() const { return top_ == right_ && right_ == bottom_ && bottom_ == left_; }

private:
    double top_, right_, bottom_, left_;
};
