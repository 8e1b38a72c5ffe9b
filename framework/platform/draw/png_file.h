// Surfaces to and from PNG files (8-bit RGB).
#pragma once

#include "framework/platform/draw/surface.h"

bool JWritePng(const JSurface& surface, const char* path);
bool JReadPng(const char* path, JSurface* surface);
