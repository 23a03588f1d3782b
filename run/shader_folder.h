// --shaders FOLDER: shader requests read their source from the file in FOLDER
// that the pack's entry is staged from, staged the same way (FOLDER laid out
// as content/shaders: the entry NAME.cpp from NAME.hlsl anywhere below it,
// and a line `#include "NAME"` replaced by FOLDER/include/NAME), instead of
// from the pack. The folder is watched (inotify): between frames, every
// shader already loaded whose file, or a file it includes, changed is
// compiled again and takes the old one's place; one that fails keeps the old
// one running, and its compiler message is shown once, on stderr and in the
// overlay.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Reads shader sources from `folder` from now on and starts watching it.
void UseShaderFolder(const std::filesystem::path& folder);
// Between frames: rebuilds the loaded shaders touched by the changes seen
// since the last call. Cheap when nothing changed (one read that finds
// nothing).
void ReloadChangedShaders();
// The compiler message of the latest reload that failed and is not mended
// yet; empty when every reloaded shader compiles.
const std::string& ShaderReloadError();

// The source `name` staged from `folder` as the pack's entry is: false when
// no file of that name is below it. `includes` gets the names it included.
bool StageShaderSource(const std::filesystem::path& folder, std::string_view name, std::string* text,
                       std::vector<std::string>* includes);
