// Regions as lists of non-overlapping rectangles: update regions of windows
// and the parts of the frame waiting to be composed.
#pragma once

#include <vector>

#include "framework/platform/draw/geometry.h"

using JRegion = std::vector<JRect>;

// Adds the part of `rect` that the region does not hold yet.
void JRegionAdd(JRegion* region, const JRect& rect);
void JRegionSubtract(JRegion* region, const JRect& rect);
JRegion JRegionIntersect(const JRegion& region, const JRect& rect);
JRect JRegionBounds(const JRegion& region);
void JRegionOffset(JRegion* region, int dx, int dy);
bool JRegionIntersects(const JRegion& region, const JRect& rect);
