#include "core/graph/graphstate.h"

#include <algorithm>

GraphState::GraphState()
    : g_fZoomX(std::make_unique<float[][MAX_CURVE_POINTS]>(MAX_ZOOM_LEVELS)),
      g_fZoomY(std::make_unique<float[][MAX_CURVE_POINTS]>(MAX_ZOOM_LEVELS)) {}

int GraphState::zoomLevel() const {
    return std::clamp<int>(g_nZoomLevel, 0, MAX_ZOOM_LEVELS - 1);
}
