#pragma once

#include <algorithm>

// A rectangle in view-client pixels: (left, top, right, bottom), y down.
struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The plot area of the graph view in view-client pixels, derived from the view's
// client rectangle: 70 pixels in from the left, 170 down from the top, 310 in from
// the right and 75 up from the bottom. Recomputed at every paint and mouse event.
struct PlotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const PlotRect&, const PlotRect&) = default;

    static PlotRect fromClient(const ClientRect& client) {
        return {client.left + 70, client.top + 170, client.right - 310, client.bottom - 75};
    }

    // The graph reaches this many rows above the plot (the value labels).
    static constexpr int kReachAbove = 7;
    // The client rectangle to lay the graph out in when the rows of `client`
    // above `firstFreeRow` are taken by something else (the message line):
    // the top moves down just so far that no part of the graph lies above
    // that row. The bottom stays.
    static ClientRect belowRow(const ClientRect& client, int firstFreeRow) {
        const int shift = std::max(0, firstFreeRow - (client.top + 170 - kReachAbove));
        return {client.left, client.top + shift, client.right, client.bottom};
    }

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool hasArea() const { return width() > 0 && height() > 0; }

    // Only meaningful when hasArea().
    int clampX(int x) const { return std::clamp(x, left, right); }
    int clampY(int y) const { return std::clamp(y, top, bottom); }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};
