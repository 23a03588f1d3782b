// The arithmetic that places captured frames and sound on the timeline.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "run/capture_audio.h"
#include "run/capture_timing.h"

namespace {

using capture::FirstFrameAt;
using capture::SampleOfFrame;
using capture::SpanOf;

TEST(CaptureTiming, FrameKShowsTimeKOverFps) {
    EXPECT_EQ(FirstFrameAt(0.0, 60), 0);
    EXPECT_EQ(FirstFrameAt(40.0, 30), 1200);
    // 0.1 x 30 is 3.0000000000000004 in doubles: still frame 3.
    EXPECT_EQ(FirstFrameAt(0.1, 30), 3);
    EXPECT_EQ(FirstFrameAt(0.11, 30), 4);
    EXPECT_EQ(FirstFrameAt(110.0, 60), 6600);
    EXPECT_EQ(capture::FrameFileName(123), "frame_000123.png");
    EXPECT_EQ(capture::FrameFileName(6599), "frame_006599.png");
}

TEST(CaptureTiming, SpansFromAnyStartTileTheSamples) {
    for (int fps : {24, 25, 30, 60, 7}) {
        // Consecutive frames' sound meets without gap or overlap, and N frames
        // hold N / fps seconds of samples to within one sample.
        for (int64_t frame = 0; frame < 500; ++frame) {
            int64_t length = SampleOfFrame(frame + 1, fps) - SampleOfFrame(frame, fps);
            EXPECT_GE(length, 44100 / fps) << fps;
            EXPECT_LE(length, 44100 / fps + 1) << fps;
        }
        capture::Span whole = SpanOf(0.0, 10.0, fps);
        capture::Span late = SpanOf(4.0, 10.0, fps);
        EXPECT_EQ(whole.EndSample(), late.EndSample());
        EXPECT_EQ(whole.Samples() - late.Samples(), SampleOfFrame(late.first, fps));
        EXPECT_NEAR(static_cast<double>(late.Samples()), late.Seconds() * 44100.0, 1.0) << fps;
    }
    EXPECT_EQ(SpanOf(5.0, 3.0, 30).Frames(), 0);
    EXPECT_EQ(SpanOf(0.0, 110.0, 30).Samples(), 110 * 44100);
}

TEST(CaptureSound, CutIsSampleExactAndSilentPastTheMusic) {
    std::vector<float> stereo;
    for (int i = 0; i < 100; ++i) {
        stereo.push_back(static_cast<float>(i) / 200.0f);
        stereo.push_back(-static_cast<float>(i) / 200.0f);
    }
    stereo[2] = 3.0f;  // clipped
    std::vector<int16_t> pcm = capture::CutPcm16(stereo, 1, 4);
    ASSERT_EQ(pcm.size(), 8u);
    EXPECT_EQ(pcm[0], 32767);
    EXPECT_EQ(pcm[2], static_cast<int16_t>(std::lrint(2 / 200.0f * 32767.0f)));
    EXPECT_EQ(pcm[3], -pcm[2]);
    std::vector<int16_t> tail = capture::CutPcm16(stereo, 98, 4);
    EXPECT_NE(tail[2], 0);
    EXPECT_EQ(tail[4], 0);
    EXPECT_EQ(tail[7], 0);
    std::vector<int16_t> before = capture::CutPcm16(stereo, -2, 3);
    EXPECT_EQ(before[0], 0);
    EXPECT_EQ(before[4], 0);
}

TEST(CaptureSound, WavHoldsExactlyTheSpansSamples) {
    // 45 frames at 30 fps from frame 12: 1.5 s, 66150 samples.
    capture::Span span = SpanOf(0.4, 1.9, 30);
    ASSERT_EQ(span.Frames(), 45);
    std::vector<float> stereo(44100 * 4, 0.25f);
    std::vector<int16_t> pcm = capture::CutPcm16(stereo, span.FirstSample(), span.Samples());
    std::filesystem::path path = std::filesystem::temp_directory_path() / "capture_span_test.wav";
    std::string error;
    ASSERT_TRUE(capture::WriteWav(path.string(), pcm, &error)) << error;
    EXPECT_EQ(std::filesystem::file_size(path), 44u + 66150u * 4u);
    std::ifstream in(path, std::ios::binary);
    char header[44];
    in.read(header, 44);
    EXPECT_EQ(std::string(header, 4), "RIFF");
    EXPECT_EQ(std::string(header + 8, 8), "WAVEfmt ");
    uint32_t rate = 0, dataBytes = 0;
    std::memcpy(&rate, header + 24, 4);
    std::memcpy(&dataBytes, header + 40, 4);
    EXPECT_EQ(rate, 44100u);
    EXPECT_EQ(dataBytes, 66150u * 4u);
    std::filesystem::remove(path);
    EXPECT_FALSE(capture::WriteWav("/nonexistent-folder/x.wav", pcm, &error));
    EXPECT_NE(error.find("/nonexistent-folder/x.wav"), std::string::npos);
}

}  // namespace
