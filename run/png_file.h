// Saving a picture as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `rgba` (width x height, top row first) to `path`, checking every
// write and the close, so that a full disk does not pass for a saved picture;
// an incomplete regular file is removed. Empty on success, else why not.
std::string SavePng(const std::string& path, const uint8_t* rgba, int width, int height);

// SavePng with the alpha forced opaque; false, with one line on stderr naming
// the file and why, on failure.
bool WritePngFile(const std::string& path, std::vector<uint8_t>& rgba, int width, int height);
