// Saving a picture as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `rgba` (width x height, top row first, alpha forced opaque) to `path`.
// Every write and the close are checked, so that a full disk does not pass
// for a saved picture; an incomplete regular file is removed. False, with one
// line on stderr naming the file and why, on failure.
bool WritePngFile(const std::string& path, std::vector<uint8_t>& rgba, int width, int height);
