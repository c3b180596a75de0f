// Writes 32-bit top-down BGRA pixels as an uncompressed PNG, for pictures
// that people look at after a test run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint32_t>& pixels);
