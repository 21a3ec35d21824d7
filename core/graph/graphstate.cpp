#include "core/graph/graphstate.h"

#include <algorithm>

int GraphFields::zoomLevel() const {
    return std::clamp<int>(g_nZoomLevel, 0, MAX_ZOOM_LEVELS - 1);
}
