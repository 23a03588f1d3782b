// The generated content as the build leaves it, for the content tests: the
// content folder, data.pak and the music, plus the names the demo loads.
#pragma once

#include <cstdint>
#include <initializer_list>
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

// The files of the content folder with one of the extensions (".x", ".X"), sorted.
std::vector<std::string> ContentFiles(std::initializer_list<const char*> extensions);
// Every resource name the demo's code asks for, directory part stripped.
std::vector<std::string> NamesTheCodeAsksFor();

}  // namespace content_test
