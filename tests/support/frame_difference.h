// How far apart two saved frames are: their PSNR over the red, green and blue
// channels, and the share of pixels whose largest channel difference exceeds a
// bound. The runs compared (OpenGL ES against desktop OpenGL, a browser against
// the native demo) draw the same scene through different drivers and shader
// compilers, so their frames match closely, not bit for bit.
#pragma once

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <ostream>

struct FrameDifference {
    bool loaded = false;     // both files read, of the same size
    double psnr = 0.0;       // dB; infinity for identical frames
    double shareOver = 1.0;  // share of pixels off by more than the bound in some channel
    int largest = 255;       // largest channel difference
};

inline std::ostream& operator<<(std::ostream& out, const FrameDifference& d) {
    return out << "PSNR " << d.psnr << " dB, " << 100.0 * d.shareOver << " % of pixels over the bound, largest "
               << d.largest;
}

inline FrameDifference CompareFrames(const std::filesystem::path& a, const std::filesystem::path& b, int bound) {
    FrameDifference result;
    int wa = 0, ha = 0, wb = 0, hb = 0, channels = 0;
    std::unique_ptr<uint8_t, decltype(&std::free)> pa(stbi_load(a.c_str(), &wa, &ha, &channels, 4), &std::free);
    std::unique_ptr<uint8_t, decltype(&std::free)> pb(stbi_load(b.c_str(), &wb, &hb, &channels, 4), &std::free);
    if (!pa || !pb || wa != wb || ha != hb || wa == 0 || ha == 0) return result;
    double squares = 0.0;
    size_t over = 0, pixels = size_t(wa) * size_t(ha);
    result.largest = 0;
    for (size_t i = 0; i < pixels; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            int d = std::abs(int(pa.get()[4 * i + c]) - int(pb.get()[4 * i + c]));
            squares += double(d) * d;
            worst = std::max(worst, d);
        }
        result.largest = std::max(result.largest, worst);
        over += worst > bound ? 1 : 0;
    }
    double mse = squares / double(pixels * 3);
    result.loaded = true;
    result.psnr = mse == 0.0 ? std::numeric_limits<double>::infinity() : 10.0 * std::log10(255.0 * 255.0 / mse);
    result.shareOver = double(over) / double(pixels);
    return result;
}
