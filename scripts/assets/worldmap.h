// Hand-typed outline of the continents (longitude, latitude in degrees).
#pragma once

#include <vector>

struct GeoPoint {
    float lon, lat;
};

// Land outlines; overlapping outlines add up.
const std::vector<std::vector<GeoPoint>> &landOutlines();
// Inland seas and lakes, cut out of the land afterwards.
const std::vector<std::vector<GeoPoint>> &waterOutlines();
