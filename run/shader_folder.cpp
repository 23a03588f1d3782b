#include "run/shader_folder.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "resources/resource_manager.h"
#include "run/hud.h"
#include "shell/demo_state.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kIncludeFolder = "include";

bool ReadFile(const fs::path& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    *text = bytes.str();
    return true;
}

// The first regular file below `folder`, outside include/, that the entry
// `name` is staged from: NAME.hlsl for the entry NAME.cpp.
fs::path FindSource(const fs::path& folder, std::string_view entry) {
    if (!entry.ends_with(".cpp")) return {};
    const std::string name = std::string(entry.substr(0, entry.size() - 4)) + ".hlsl";
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && it->path() == folder / kIncludeFolder) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file(ec) && it->path().filename() == name) return it->path();
    }
    return {};
}

struct Watch {
    fs::path folder;
    int inotify = -1;
    std::map<int, fs::path> directories;                       // watch descriptor -> directory
    std::map<std::string, std::vector<std::string>> includes;  // shader -> what it included when last staged
    std::map<std::string, std::string> failing;                // shader -> its compiler message
    std::string error;
};

Watch g_watch;

void WatchDirectory(Watch& watch, const fs::path& directory) {
    const int descriptor =
        inotify_add_watch(watch.inotify, directory.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE);
    if (descriptor >= 0) watch.directories[descriptor] = directory;
}

// The shaders a changed file touches: itself, or every one that includes it.
void Touched(const Watch& watch, const fs::path& directory, const std::string& name, std::set<std::string>* shaders) {
    if (directory == watch.folder / kIncludeFolder) {
        for (const auto& [shader, included] : watch.includes)
            for (const std::string& part : included)
                if (part == name) shaders->insert(shader);
        return;
    }
    // The entry NAME.cpp is staged from NAME.hlsl.
    if (name.ends_with(".hlsl")) shaders->insert(name.substr(0, name.size() - 5) + ".cpp");
}

void Rebuild(Watch& watch, const std::string& name) {
    if (!g_demoState.resources) return;
    std::string error;
    switch (g_demoState.resources->RebuildShader(name, &error)) {
    case ShaderRebuild::NotLoaded: return;
    case ShaderRebuild::Rebuilt:
        std::fprintf(stderr, "Reloaded shader %s.\n", name.c_str());
        watch.failing.erase(name);
        break;
    case ShaderRebuild::Failed:
        std::fprintf(stderr, "Shader %s does not compile; the last good one stays:\n%s\n", name.c_str(), error.c_str());
        watch.failing[name] = name + ": " + error;
        break;
    }
    // The overlay shows the failure just seen, else one still standing.
    auto failed = watch.failing.find(name);
    if (failed == watch.failing.end()) failed = watch.failing.begin();
    watch.error = failed == watch.failing.end() ? std::string() : failed->second;
    HudShaderError(watch.error.c_str());
}

}  // namespace

bool StageShaderSource(const fs::path& folder, std::string_view name, std::string* text,
                       std::vector<std::string>* includes) {
    const fs::path path = FindSource(folder, name);
    if (path.empty() || !ReadFile(path, text)) return false;
    includes->clear();
    static const std::regex directive("#include \"([^\"\n]+)\"");
    const std::string source = *text;
    for (auto it = std::sregex_iterator(source.begin(), source.end(), directive); it != std::sregex_iterator(); ++it) {
        const std::string part = (*it)[1].str();
        includes->push_back(part);
        std::string included;
        // A missing part stays a directive, which the compiler then names.
        if (!ReadFile(folder / kIncludeFolder / part, &included)) continue;
        const std::string line = it->str() + "\n";
        for (size_t at = text->find(line); at != std::string::npos; at = text->find(line, at + included.size())) {
            text->replace(at, line.size(), included);
        }
    }
    return true;
}

void UseShaderFolder(const fs::path& folder) {
    Watch& watch = g_watch;
    if (watch.inotify >= 0) close(watch.inotify);
    watch = Watch();
    watch.folder = folder;
    g_shaderSourceReader = [](std::string_view name, std::string* source) {
        std::vector<std::string> included;
        if (!StageShaderSource(g_watch.folder, name, source, &included)) return false;
        g_watch.includes[std::string(name)] = std::move(included);
        return true;
    };
    watch.inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.inotify < 0) {
        std::fprintf(stderr, "demo: --shaders: cannot watch \"%s\"; changes will not be reloaded.\n", folder.c_str());
        return;
    }
    WatchDirectory(watch, folder);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_directory(ec)) WatchDirectory(watch, it->path());
}

void ReloadChangedShaders() {
    Watch& watch = g_watch;
    if (watch.inotify < 0) return;
    alignas(inotify_event) char buffer[4096];
    std::set<std::string> shaders;
    for (;;) {
        const ssize_t length = read(watch.inotify, buffer, sizeof buffer);
        if (length <= 0) break;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            auto directory = watch.directories.find(event->wd);
            if (directory == watch.directories.end() || event->len == 0) continue;
            const fs::path changed = directory->second / event->name;
            if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO))) {
                WatchDirectory(watch, changed);
                continue;
            }
            Touched(watch, directory->second, event->name, &shaders);
        }
    }
    for (const std::string& name : shaders) Rebuild(watch, name);
}

const std::string& ShaderReloadError() { return g_watch.error; }
