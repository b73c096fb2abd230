#include "canvas/drawing_context.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void DrawingContext::fill_span(int x0, int x1, int y, Colour c) {
    if (y < 0 || y >= target_->height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, target_->width() - 1);
    if (x0 > x1) return;
    if (painted_) painted_->mark_span(x0, x1, y);
    if (surfaces_) {
        surfaces_->mark_span(x0, x1, y, current_surface_);
        if (keeps_light_) surfaces_->mark_light_span(x0, x1, y, painted_light_);
    }
    std::uint8_t* p = target_->row(y) + static_cast<std::size_t>(x0) * 3;
    const std::size_t count = static_cast<std::size_t>(x1 - x0 + 1);
    const auto r = static_cast<std::uint8_t>(red(c));
    const auto g = static_cast<std::uint8_t>(green(c));
    const auto b = static_cast<std::uint8_t>(blue(c));
    // Clearing to black (or any grey) is one memset; other colours repeat
    // the three bytes.
    if (r == g && g == b) {
        std::memset(p, r, count * 3);
        return;
    }
    for (std::size_t i = 0; i < count; ++i, p += 3) {
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
}

void DrawingContext::box(int x, int y, int w, int h, Colour c) {
    if (!target_ || w < 1 || h < 1) return;
    x += origin_x_, y += origin_y_;
    const int right = x + w - 1;
    const int bottom = y + h - 1;
    if (mode_ == DrawingMode::Filled) {
        for (int py = std::max(y, 0); py <= std::min(bottom, target_->height() - 1); ++py) fill_span(x, right, py, c);
        return;
    }
    fill_span(x, right, y, c);
    fill_span(x, right, bottom, c);
    for (int py = y + 1; py < bottom; ++py) {
        put(x, py, c);
        put(right, py, c);
    }
}

void DrawingContext::erase_box(int x, int y, int w, int h, Colour background) {
    if (!target_ || w < 1 || h < 1) return;
    const DrawingMode saved = mode_;
    mode_ = DrawingMode::Filled;
    box(x, y, w, h, background);
    mode_ = saved;
    if (!painted_) return;
    x += origin_x_, y += origin_y_;
    const int x0 = std::max(x, 0), x1 = std::min(x + w - 1, target_->width() - 1);
    if (x0 > x1) return;
    for (int py = std::max(y, 0); py <= std::min(y + h - 1, target_->height() - 1); ++py)
        painted_->unmark_span(x0, x1, py);
}

void DrawingContext::circle(int x, int y, int r, Colour c) {
    if (!target_ || r < 1) return;
    if (r == 1) {
        const DrawingMode saved = mode_;
        mode_ = DrawingMode::Filled;
        box(x, y, 2, 2, c);
        mode_ = saved;
        return;
    }
    x += origin_x_, y += origin_y_;
    // Pixel (px, py) lies inside when its centre is within r of the square's
    // centre (x - 0.5, y - 0.5); doubled to stay in integers.
    const long long limit = 4LL * r * r;
    auto inside = [&](int px, int py) {
        const long long dx = 2LL * (px - x) + 1;
        const long long dy = 2LL * (py - y) + 1;
        return dx * dx + dy * dy <= limit;
    };
    for (int py = y - r; py <= y + r - 1; ++py) {
        // Rows are symmetric about x - 0.5: find the leftmost pixel inside.
        int left = x - r;
        while (left < x && !inside(left, py)) ++left;
        const int right = 2 * x - 1 - left;
        if (mode_ == DrawingMode::Filled) {
            fill_span(left, right, py, c);
            continue;
        }
        for (int px = left; px <= right; ++px) {
            const bool edge = !inside(px - 1, py) || !inside(px + 1, py) || !inside(px, py - 1) || !inside(px, py + 1);
            if (edge) put(px, py, c);
        }
    }
}

void DrawingContext::draw_image(const RasterImage& source, int x, int y) {
    if (!target_) return;
    x += origin_x_, y += origin_y_;
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + source.width(), target_->width());
    if (x0 >= x1) return;
    const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * 3;
    for (int sy = 0; sy < source.height(); ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= target_->height()) continue;
        std::memcpy(target_->row(ty) + static_cast<std::size_t>(x0) * 3,
                    source.row(sy) + static_cast<std::size_t>(x0 - x) * 3, bytes);
        if (painted_) painted_->mark_span(x0, x1 - 1, ty);
        if (surfaces_) {
            surfaces_->mark_span(x0, x1 - 1, ty, current_surface_);
            if (keeps_light_) surfaces_->mark_light_span(x0, x1 - 1, ty, painted_light_);
        }
    }
}
