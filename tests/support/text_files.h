// Whole text files read for the tests: logs and shader sources.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The file's bytes as a string; empty when it cannot be read.
inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The HLSL source of content/shaders/common that the pack entry `name`
// ("vertex_fs.cpp") is staged from.
inline std::string CommonShader(const std::string& name) {
    return ReadText(std::string(DEMO_SOURCE_DIR) + "/content/shaders/common/" + name.substr(0, name.rfind('.')) +
                    ".hlsl");
}
