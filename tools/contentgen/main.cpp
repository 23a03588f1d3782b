// contentgen: generates every mesh, texture, path and the music the demo
// loads, deterministically, from nothing but this source, the score under
// content/score and a font file.
//
//   contentgen --out DIR [--music FILE] [--score FILE] [--font FILE]
//              [--contact-sheet FILE] [--previews DIR] [--only GROUP,...]
//
// DIR receives one flat folder of bare file names (the pack's entries); files
// in DIR that the run does not produce are removed, except shader sources
// (*.cpp), which the build copies in beside them. FILE of --music receives
// the MP3. --contact-sheet also writes a PNG showing every texture and a
// rendering of every mesh; --previews writes each texture's preview (at most
// 512 texels a side) as a PNG into DIR. --only limits the run to some groups (island, sea,
// yacht, sky, hatching, earth, paths, lettering, music).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/contentgen/contact_sheet.h"
#include "tools/contentgen/groups.h"
#include "tools/contentgen/image_files.h"
#include "tools/contentgen/music.h"

namespace fs = std::filesystem;

namespace {

bool WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    // Leave files with the same bytes untouched, so their times stay put.
    std::ifstream existing(path, std::ios::binary);
    if (existing) {
        std::vector<uint8_t> old((std::istreambuf_iterator<char>(existing)), std::istreambuf_iterator<char>());
        if (old == bytes) return true;
    }
    existing.close();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::stringstream buffer;
    buffer << file.rdbuf();
    return buffer.str();
}

int Usage() {
    std::fprintf(stderr,
                 "usage: contentgen --out DIR [--music FILE] [--score FILE] [--font FILE]\n"
                 "                  [--contact-sheet FILE] [--previews DIR] [--only GROUP,...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir, musicFile, scoreFile, sheetFile, previewDir;
    std::string font = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf";
    std::set<std::string> only;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        std::string value = argv[++i];
        if (arg == "--out")
            outDir = value;
        else if (arg == "--music")
            musicFile = value;
        else if (arg == "--score")
            scoreFile = value;
        else if (arg == "--font")
            font = value;
        else if (arg == "--contact-sheet")
            sheetFile = value;
        else if (arg == "--previews")
            previewDir = value;
        else if (arg == "--only") {
            std::stringstream list(value);
            for (std::string g; std::getline(list, g, ',');) only.insert(g);
        } else
            return Usage();
    }
    if (outDir.empty()) return Usage();

    gen::AssetSet assets(!sheetFile.empty() || !previewDir.empty());
    const std::vector<std::pair<std::string, std::function<void()>>> groups = {
        {"island", [&] { gen::GenerateIsland(assets); }},
        {"sea", [&] { gen::GenerateSea(assets); }},
        {"yacht", [&] { gen::GenerateYacht(assets); }},
        {"sky", [&] { gen::GenerateSky(assets); }},
        {"hatching", [&] { gen::GenerateHatching(assets); }},
        {"earth", [&] { gen::GenerateEarth(assets); }},
        {"paths", [&] { gen::GeneratePaths(assets); }},
        {"lettering", [&] { gen::GenerateLettering(assets, font); }},
    };
    auto start = std::chrono::steady_clock::now();
    auto seconds = [](auto from) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    };
    // The music is independent of the pictures: make it alongside them.
    std::thread music;
    std::vector<uint8_t> mp3;
    std::string musicProblem;
    if (!musicFile.empty() && (only.empty() || only.count("music"))) {
        std::string score = ReadText(scoreFile);
        music = std::thread([score, &mp3, &musicProblem, start, seconds] {
            if (score.empty())
                musicProblem = "cannot read the score";
            else if (gen::GenerateMusic(score, mp3, musicProblem))
                std::printf("contentgen: %-9s  1 file   %.2f s\n", "music", seconds(start));
            std::fflush(stdout);
        });
    }
    for (const auto& [name, run] : groups) {
        if (!only.empty() && !only.count(name)) continue;
        auto t0 = std::chrono::steady_clock::now();
        size_t before = assets.Files().size();
        run();
        std::printf("contentgen: %-9s %2zu files  %.2f s\n", name.c_str(), assets.Files().size() - before, seconds(t0));
        std::fflush(stdout);
    }

    std::error_code error;
    if (music.joinable()) {
        music.join();
        if (!musicProblem.empty()) {
            std::fprintf(stderr, "contentgen: music: %s\n", musicProblem.c_str());
            return 1;
        }
        fs::create_directories(fs::path(musicFile).parent_path(), error);
        if (!WriteBytes(musicFile, mp3)) {
            std::fprintf(stderr, "contentgen: cannot write %s\n", musicFile.c_str());
            return 1;
        }
    }

    fs::create_directories(outDir, error);
    if (only.empty()) {
        for (const auto& entry : fs::directory_iterator(outDir, error)) {
            std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && entry.path().extension() != ".cpp" && !assets.Files().count(name))
                fs::remove(entry.path(), error);
        }
    }
    for (const auto& [name, bytes] : assets.Files()) {
        if (!WriteBytes(fs::path(outDir) / name, bytes)) {
            std::fprintf(stderr, "contentgen: cannot write %s\n", (fs::path(outDir) / name).c_str());
            return 1;
        }
    }

    if (!previewDir.empty()) {
        fs::create_directories(previewDir, error);
        for (const auto& [name, image] : assets.Previews())
            WriteBytes(fs::path(previewDir) / (name + ".png"), gen::EncodePng(image, true));
    }
    if (!sheetFile.empty()) {
        gen::Image sheet = gen::ContactSheet(assets, font);
        std::vector<uint8_t> png = gen::EncodePng(sheet, false);
        if (!WriteBytes(sheetFile, png)) {
            std::fprintf(stderr, "contentgen: cannot write %s\n", sheetFile.c_str());
            return 1;
        }
        std::printf("contentgen: contact sheet %dx%d\n", sheet.Width(), sheet.Height());
    }
    std::printf("contentgen: %zu files in %.2f s\n", assets.Files().size(), seconds(start));
    return 0;
}
