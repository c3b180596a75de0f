// Saves a 24-bit picture as a PNG file (uncompressed deflate blocks: large,
// but needs nothing beyond the standard library).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width × height pixels, three bytes each (red, green, blue),
// row by row from the top.
bool SavePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);
