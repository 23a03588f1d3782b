// The generated content as the build leaves it, for the content tests: the
// content folder, data.pak and the music, plus the names the demo loads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace content_test {

std::string ContentDir();  // <build>/content
std::string PackPath();    // <build>/data.pak
std::string MusicPath();   // <build>/music/music.mp3

// Whole file; empty when it cannot be read.
std::vector<uint8_t> ReadFile(const std::string& path);
// An entry of the build's data.pak (empty when missing); `found` tells an
// empty entry from a missing one.
std::vector<uint8_t> PackEntry(const std::string& name, bool* found = nullptr);

// Pictures, meshes and paths the demo loads, by pack entry name.
const std::vector<std::string>& MeshNames();
const std::vector<std::string>& TextureNames();  // cubemap.dds included
const std::vector<std::string>& PathNames();
// Every resource name the demo's code asks for, directory part stripped.
std::vector<std::string> NamesTheCodeAsksFor();

}  // namespace content_test
