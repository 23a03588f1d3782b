// The web page in Debian's chromium, headless on SwiftShader's WebGL 2,
// served from localhost: frames at a moment of the first scene and of the
// colour scene against the native demo's --shot frames at the same settings (320x240,
// --fps 10), with no error on the page's console; and the failure pages of a
// missing pack and of a browser without WebGL 2. The site is built by
// scripts/web.sh --build (scripts/test.sh runs it); without it the tests skip.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/demo_process.h"
#include "tests/support/frame_difference.h"

namespace {

namespace fs = std::filesystem;

// The browser draws the same shaders through ANGLE and SwiftShader, whose
// rasterisation and filtering round differently from llvmpipe's: at least
// 35 dB PSNR, and at most 0.2 % of the pixels more than 48 levels apart
// (measured: 53.9 dB and none at 5 s, 45.4 dB and 0.017 % at 40 s; red and
// blue swapped in the page's textures give 31.0 dB and 0.26 % at 5 s).
constexpr double kMinimumPsnr = 35.0;
constexpr int kChannelBound = 48;
constexpr double kMostPixelsOver = 0.002;

const fs::path kSite = fs::path(DEMO_SOURCE_DIR) / "build-web" / "site";

std::string Find(const char* program) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        fs::path path = fs::path(folder) / program;
        if (fs::exists(path)) return path.string();
    }
    return "";
}

int FreePort() {
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(socket);
    return port;
}

// What the driver reported of each page.
struct PageReport {
    std::string title;
    std::string times;
    std::string playing;  // a viewer's page while the demo runs
    std::string ended;    // a viewer's page after Escape
    std::vector<std::string> errors;
};

// The number after "\"name\":" in a line of JSON; NaN when it is not there.
double JsonNumber(const std::string& json, const std::string& name) {
    size_t at = json.find("\"" + name + "\":");
    if (at == std::string::npos) return std::nan("");
    return std::strtod(json.c_str() + at + name.size() + 3, nullptr);
}

class BrowserPage : public DemoProcessTest {
protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "the page is the same in every configuration: tested once, without the sanitizers";
#endif
        DemoProcessTest::SetUp();
        if (IsSkipped()) return;
        if (!fs::exists(kSite / "index.html") || !fs::exists(kSite / "demo.wasm"))
            GTEST_SKIP() << "the web page is not built (scripts/web.sh --build)";
        chromium = Find("chromium");
        node = Find("node");
        python = Find("python3");
        if (chromium.empty() || node.empty() || python.empty()) GTEST_SKIP() << "chromium, node or python3 missing";
    }
    void TearDown() override {
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
        DemoProcessTest::TearDown();
    }

    // Serves `root` on a free port of localhost; the base URL.
    std::string Serve(const fs::path& root) {
        int port = FreePort();
        server = fork();
        if (server == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            execl(python.c_str(), "python3", "-m", "http.server", std::to_string(port).c_str(), "--bind", "127.0.0.1",
                  "--directory", root.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int tries = 0; tries < 50; ++tries) {
            ShellResult probe = Shell("python3 -c \"import urllib.request; urllib.request.urlopen('http://127.0.0.1:" +
                                      std::to_string(port) + "/index.html')\"");
            if (probe.status == 0) break;
            usleep(100000);
        }
        return "http://127.0.0.1:" + std::to_string(port) + "/";
    }

    // Opens each (url, shot) in a fresh chromium profile.
    std::map<int, PageReport> Visit(const std::vector<std::pair<std::string, std::string>>& pages,
                                    const std::string& flags = "") {
        std::string command = "'" + node + "' '" +
                              (fs::path(DEMO_SOURCE_DIR) / "tests/web/chromium_pages.js").string() + "' '" + chromium +
                              "' '" + (folder / "profile").string() + "'";
        for (const auto& [url, shot] : pages) command += " '" + url + "' '" + (shot.empty() ? "-" : shot) + "'";
        if (!flags.empty()) command += " -- " + flags;
        ShellResult run = Shell(command);
        EXPECT_EQ(run.status, 0) << run.log;
        std::map<int, PageReport> reports;
        std::istringstream lines(run.log);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string kind, index;
            words >> kind >> index;
            std::string rest;
            std::getline(words, rest);
            if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
            if (kind == "error" && index == "driver") ADD_FAILURE() << "driver: " << rest;
            if (index.empty() || !std::isdigit(static_cast<unsigned char>(index[0]))) continue;
            PageReport& report = reports[std::stoi(index)];
            if (kind == "title") report.title = rest;
            if (kind == "times") report.times = rest;
            if (kind == "playing") report.playing = rest;
            if (kind == "ended") report.ended = rest;
            if (kind == "error") report.errors.push_back(rest);
        }
        return reports;
    }

    std::string chromium, node, python;
    pid_t server = -1;
};

TEST_F(BrowserPage, FramesMatchTheNativeDemoAndTheConsoleStaysClean) {
    struct Moment {
        const char* query;   // what the page is asked for
        const char* native;  // the same run natively
        const char* title;
    };
    const Moment moments[] = {
        {"until=5", "--until 5.05 --shot 5:", "done 5.000"},
        {"start=39.5&until=40", "--start 39.5 --until 40.05 --shot 40:", "done 40.000"},
    };
    std::string base = Serve(kSite);
    std::vector<std::pair<std::string, std::string>> pages;
    for (size_t i = 0; i < std::size(moments); ++i)
        pages.emplace_back(base + "index.html?mode=320x240&fps=10&autorun&" + moments[i].query,
                           (folder / ("web" + std::to_string(i) + ".png")).string());
    std::map<int, PageReport> reports = Visit(pages);
    for (size_t i = 0; i < std::size(moments); ++i) {
        const PageReport& report = reports[int(i)];
        EXPECT_EQ(report.title, moments[i].title) << moments[i].query;
        EXPECT_TRUE(report.errors.empty()) << moments[i].query << ": " << testing::PrintToString(report.errors);
        fs::path native = folder / ("native" + std::to_string(i) + ".png");
        ShellResult run =
            Demo(std::string("--headless --mode 320x240 --windowed --fps 10 ") + moments[i].native + native.string());
        ASSERT_EQ(run.status, 0) << run.log;
        FrameDifference d = CompareFrames(native, pages[i].second, kChannelBound);
        ASSERT_TRUE(d.loaded) << moments[i].query;
        std::cout << moments[i].query << ": " << d << "; page times " << report.times << "\n";
        EXPECT_GE(d.psnr, kMinimumPsnr) << moments[i].query << ": " << d;
        EXPECT_LE(d.shareOver, kMostPixelsOver) << moments[i].query << ": " << d;
    }
}

// A viewer's run: the Fullscreen box ticked and "Run demo!" clicked with the
// browser's own input events, which it takes as a user gesture (the browser
// runs without any autoplay exception). The page goes full screen, its
// AudioContext runs and the music's samples reach it; Escape leaves full
// screen and ends the demo, long before --until.
TEST_F(BrowserPage, AViewersClickPlaysFullScreenWithMusicAndEscapeEndsIt) {
    std::string base = Serve(kSite);
    PageReport report = Visit({{"viewer:" + base + "index.html?mode=320x240&until=20", ""}})[0];
    std::cout << "playing " << report.playing << "; ended " << report.ended << "\n";
    EXPECT_TRUE(report.errors.empty()) << testing::PrintToString(report.errors);
    EXPECT_NE(report.playing.find("\"fullscreen\":\"HTML\""), std::string::npos) << report.playing;
    EXPECT_NE(report.playing.find("\"state\":\"running\""), std::string::npos) << report.playing;
    EXPECT_EQ(JsonNumber(report.playing, "sampleRate"), 44100.0) << report.playing;
    EXPECT_GT(JsonNumber(report.playing, "clockAdvanced"), 0.25) << report.playing;
    EXPECT_GT(JsonNumber(report.playing, "peak"), 0.01) << report.playing;
    EXPECT_NE(report.ended.find("\"fullscreen\":null"), std::string::npos) << report.ended;
    ASSERT_EQ(report.title.rfind("done ", 0), 0u) << report.title;
    EXPECT_LT(std::stod(report.title.substr(5)), 15.0) << report.title;
}

TEST_F(BrowserPage, MissingPackAndMissingWebGL2ShowTheirFailurePages) {
    fs::path site = folder / "site";
    fs::create_directories(site);
    for (const char* file : {"index.html", "demo.js", "demo.wasm"}) fs::copy_file(kSite / file, site / file);
    std::string base = Serve(site);
    EXPECT_EQ(Visit({{base + "index.html?mode=320x240&fps=10&until=1&autorun", ""}})[0].title, "failed: pack");
    EXPECT_EQ(Visit({{base + "index.html", ""}}, "--disable-webgl2")[0].title, "failed: webgl2");
}

}  // namespace
