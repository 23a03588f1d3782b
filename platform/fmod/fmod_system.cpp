// The System, Sound and Channel handles of the stand-in.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/fmod/fmod_internal.h"

using fmod_standin::ChannelState;
using fmod_standin::SoundState;
using fmod_standin::SystemState;

namespace {

SystemState* State(FMOD::System* system) { return static_cast<SystemState*>(system); }

bool IsPowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

struct OutputLock {
    explicit OutputLock(SystemState* system_) : system(system_) { system->output->Lock(); }
    ~OutputLock() { system->output->Unlock(); }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;
    SystemState* system;
};

FMOD_RESULT ReadWholeFile(const char* name, std::vector<uint8_t>* bytes) {
    std::error_code error;
    const auto status = std::filesystem::status(name, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return FMOD_ERR_FILE_NOTFOUND;
    }
    if (error || status.type() == std::filesystem::file_type::directory) {
        return FMOD_ERR_FILE_BAD;
    }
    std::ifstream file(name, std::ios::binary);
    if (!file) {
        return FMOD_ERR_FILE_BAD;
    }
    // A regular file is read in one go into a buffer of its size; anything
    // else (a pipe) byte by byte until it ends.
    const auto size = std::filesystem::file_size(name, error);
    if (!error) {
        bytes->resize(static_cast<size_t>(size));
        file.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
        bytes->resize(static_cast<size_t>(file.gcount()));
    } else {
        bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    if (file.bad()) {
        return FMOD_ERR_FILE_BAD;
    }
    return bytes->empty() ? FMOD_ERR_FILE_EOF : FMOD_OK;
}

}  // namespace

FMOD_RESULT FMOD_System_Create(FMOD::System** system) {
    if (system == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    *system = new SystemState();
    return FMOD_OK;
}

namespace fmod_standin {

FMOD_RESULT SoundState::Start(std::unique_ptr<Mp3Decoder> opened, std::vector<float> firstFrames) {
    decoder = std::move(opened);
    window = std::move(firstFrames);
    windowStart = 0;
    int64_t frames = decoder->AnnouncedFrames();
    if (frames <= 0) {
        frames = static_cast<int64_t>(window.size() / 2);
        std::vector<float> block;
        block.reserve(Mp3Decoder::kBlockSamples);
        while (!decoder->Ended()) {
            block.clear();
            const FMOD_RESULT result = decoder->Next(&block);
            if (result != FMOD_OK) {
                return result;
            }
            frames += static_cast<int64_t>(block.size() / 2);
        }
        const FMOD_RESULT result = decoder->Restart(&window);
        if (result != FMOD_OK) {
            return result;
        }
    }
    length.store(frames, std::memory_order_release);
    // Room for the frames kept behind a read, a read as long as the longest
    // spectrum, and a decoded block: the window never grows while it plays.
    // A sound shorter than that needs only its own length and a block.
    const int64_t room = std::min<int64_t>(2 * kKeptFrames + 16384, frames);
    window.reserve(static_cast<size_t>(room) * 2 + 2 * Mp3Decoder::kBlockSamples);
    return FMOD_OK;
}

void SoundState::DropBefore(int64_t frame) {
    const int64_t drop = std::min(frame, WindowEnd()) - windowStart;
    // Only in large steps, so that the frames are moved seldom.
    if (drop >= kKeptFrames) {
        window.erase(window.begin(), window.begin() + static_cast<ptrdiff_t>(drop * 2));
        windowStart += drop;
    }
}

int64_t SoundState::DecodeTo(int64_t first, int64_t end) {
    if (first < windowStart) {
        windowStart = 0;
        decoder->Restart(&window);  // on failure the window stays empty and the decoder ended
    }
    while (WindowEnd() < end && !decoder->Ended()) {
        DropBefore(first - kKeptFrames);
        if (decoder->Next(&window) != FMOD_OK) {
            break;  // past the longest sound: it ends where it got to
        }
    }
    DropBefore(first - kKeptFrames);
    if (decoder->Ended()) {
        length.store(WindowEnd(), std::memory_order_release);
    }
    return std::clamp(WindowEnd(), first, end);
}

bool ChannelState::Playing(int64_t outputFrame) const {
    return sound != nullptr && Position(outputFrame) < sound->Frames();
}

void SystemState::Mix(int64_t first, int64_t count, float* mix) const {
    std::fill(mix, mix + count * outputChannels, 0.0f);
    for (const auto& channel : channels) {
        if (channel->sound == nullptr || channel->paused) {
            continue;
        }
        const int64_t start = channel->Position(first);
        const int64_t from = std::max<int64_t>(0, -start);
        const int64_t wanted = std::min<int64_t>(count, channel->sound->Frames() - start);
        if (wanted <= from) {
            continue;
        }
        std::lock_guard<std::mutex> samples(channel->sound->lock);
        const int64_t to = channel->sound->DecodeTo(start + from, start + wanted) - start;
        for (int64_t j = from; j < to; ++j) {
            const float* source = channel->sound->At(start + j);
            const float left = source[0];
            const float right = source[1];
            if (outputChannels == 1) {
                mix[j] += 0.5f * (left + right);
            } else {
                mix[j * outputChannels] += left;
                mix[j * outputChannels + 1] += right;
            }
        }
    }
}

}  // namespace fmod_standin

namespace FMOD {

FMOD_RESULT System::release() {
    SystemState* state = State(this);
    state->output.reset();  // stops any mixing thread before the sounds go
    delete state;
    return FMOD_OK;
}

FMOD_RESULT System::getDriverCaps(int id, FMOD_CAPS* caps, int* minfrequency, int* maxfrequency,
                                  FMOD_SPEAKERMODE* controlpanelspeakermode) {
    if (id != 0) {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (caps != nullptr) {
        *caps = FMOD_CAPS_OUTPUT_FORMAT_PCMFLOAT;
    }
    if (minfrequency != nullptr) {
        *minfrequency = fmod_standin::kOutputRate;
    }
    if (maxfrequency != nullptr) {
        *maxfrequency = fmod_standin::kOutputRate;
    }
    if (controlpanelspeakermode != nullptr) {
        *controlpanelspeakermode = FMOD_SPEAKERMODE_STEREO;
    }
    return FMOD_OK;
}

FMOD_RESULT System::setSpeakerMode(FMOD_SPEAKERMODE speakermode) {
    SystemState* state = State(this);
    if (state->initialised) {
        return FMOD_ERR_INITIALIZED;
    }
    if (speakermode < FMOD_SPEAKERMODE_RAW || speakermode >= FMOD_SPEAKERMODE_MAX) {
        return FMOD_ERR_INVALID_PARAM;
    }
    state->speakerMode = speakermode;
    state->outputChannels = speakermode == FMOD_SPEAKERMODE_MONO ? 1 : 2;
    return FMOD_OK;
}

FMOD_RESULT System::init(int maxchannels, FMOD_INITFLAGS, void*) {
    SystemState* state = State(this);
    if (state->initialised) {
        return FMOD_ERR_INITIALIZED;
    }
    if (maxchannels <= 0 || maxchannels > 4093) {
        return FMOD_ERR_INVALID_PARAM;
    }
    state->channels.resize(static_cast<size_t>(maxchannels));
    for (auto& channel : state->channels) {
        channel = std::make_unique<ChannelState>();
        channel->system = state;
    }
    state->output = fmod_standin::OpenOutput(state);
    if (state->output == nullptr) {
        state->channels.clear();
        return FMOD_ERR_OUTPUT_INIT;
    }
    state->initialised = true;
    return FMOD_OK;
}

FMOD_RESULT System::update() {
    SystemState* state = State(this);
    if (!state->initialised) {
        return FMOD_ERR_UNINITIALIZED;
    }
    OutputLock lock(state);
    const int64_t now = state->output->Frames();
    for (auto& channel : state->channels) {
        if (channel->sound != nullptr && !channel->Playing(now)) {
            channel->sound = nullptr;
        }
    }
    return FMOD_OK;
}

FMOD_RESULT System::createSound(const char* name_or_data, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO*, Sound** sound) {
    SystemState* state = State(this);
    if (sound == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    *sound = nullptr;
    if (name_or_data == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (!state->initialised) {
        return FMOD_ERR_UNINITIALIZED;
    }
    // Sounds are read from files, played once, in 2D.
    const FMOD_MODE unsupported =
        FMOD_LOOP_NORMAL | FMOD_LOOP_BIDI | FMOD_3D | FMOD_OPENUSER | FMOD_OPENMEMORY | FMOD_OPENRAW | FMOD_NONBLOCKING;
    if ((mode & unsupported) != 0) {
        return FMOD_ERR_UNSUPPORTED;
    }
    std::vector<uint8_t> bytes;
    FMOD_RESULT result = ReadWholeFile(name_or_data, &bytes);
    if (result != FMOD_OK) {
        return result;
    }
    auto decoder = std::make_unique<fmod_standin::Mp3Decoder>();
    std::vector<float> firstFrames;
    result = decoder->Open(std::move(bytes), &firstFrames);
    if (result != FMOD_OK) {
        return result;
    }
    auto created = std::make_unique<SoundState>();
    result = created->Start(std::move(decoder), std::move(firstFrames));
    if (result != FMOD_OK) {
        return result;
    }
    *sound = created.get();
    state->sounds.push_back(std::move(created));
    return FMOD_OK;
}

FMOD_RESULT System::playSound(FMOD_CHANNELINDEX channelid, Sound* sound, bool paused, Channel** channel) {
    SystemState* state = State(this);
    if (channel != nullptr) {
        *channel = nullptr;
    }
    if (!state->initialised) {
        return FMOD_ERR_UNINITIALIZED;
    }
    const auto owned = std::find_if(state->sounds.begin(), state->sounds.end(),
                                    [&](const auto& candidate) { return candidate.get() == sound; });
    if (sound == nullptr || owned == state->sounds.end()) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    OutputLock lock(state);
    const int64_t now = state->output->Frames();
    ChannelState* chosen = nullptr;
    if (channelid == FMOD_CHANNEL_FREE) {
        for (auto& candidate : state->channels) {
            if (!candidate->Playing(now)) {
                chosen = candidate.get();
                break;
            }
        }
        if (chosen == nullptr) {
            return FMOD_ERR_CHANNEL_ALLOC;
        }
    } else if (channelid >= 0 && static_cast<size_t>(channelid) < state->channels.size()) {
        chosen = state->channels[static_cast<size_t>(channelid)].get();
    } else {
        return FMOD_ERR_INVALID_PARAM;
    }
    chosen->sound = static_cast<SoundState*>(sound);
    chosen->paused = paused;
    chosen->played = 0;
    chosen->syncFrame = now;
    if (channel != nullptr) {
        *channel = chosen;
    }
    return FMOD_OK;
}

FMOD_RESULT System::getSpectrum(float* spectrumarray, int numvalues, int channeloffset,
                                FMOD_DSP_FFT_WINDOW windowtype) {
    SystemState* state = State(this);
    if (!state->initialised) {
        return FMOD_ERR_UNINITIALIZED;
    }
    if (spectrumarray == nullptr || !IsPowerOfTwo(numvalues) || numvalues < 64 || numvalues > 8192 ||
        channeloffset < 0 || channeloffset >= state->outputChannels || windowtype < FMOD_DSP_FFT_WINDOW_RECT ||
        windowtype >= FMOD_DSP_FFT_WINDOW_MAX) {
        return FMOD_ERR_INVALID_PARAM;
    }
    const int64_t size = int64_t{numvalues} * 2;
    const int stride = state->outputChannels;
    state->history.resize(static_cast<size_t>(size * stride));
    {
        OutputLock lock(state);
        state->Mix(state->output->Frames() - size, size, state->history.data());
    }
    // The output channel alone, clipped as the output would clip it.
    for (int64_t j = 0; j < size; ++j) {
        state->history[static_cast<size_t>(j)] =
            std::clamp(state->history[static_cast<size_t>(j * stride + channeloffset)], -1.0f, 1.0f);
    }
    state->analyser.Compute(state->history.data(), numvalues, windowtype, spectrumarray);
    return FMOD_OK;
}

FMOD_RESULT Sound::getLength(unsigned int* length, FMOD_TIMEUNIT lengthtype) {
    const SoundState* state = static_cast<const SoundState*>(this);
    if (length == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (lengthtype == FMOD_TIMEUNIT_PCM) {
        *length = static_cast<unsigned int>(state->Frames());
    } else if (lengthtype == FMOD_TIMEUNIT_MS) {
        *length = static_cast<unsigned int>(state->Frames() * 1000 / fmod_standin::kOutputRate);
    } else {
        return FMOD_ERR_INVALID_PARAM;
    }
    return FMOD_OK;
}

FMOD_RESULT Channel::isPlaying(bool* isplaying) {
    ChannelState* state = static_cast<ChannelState*>(this);
    if (isplaying == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    OutputLock lock(state->system);
    *isplaying = state->Playing(state->system->output->Frames());
    return FMOD_OK;
}

FMOD_RESULT Channel::setPaused(bool paused) {
    ChannelState* state = static_cast<ChannelState*>(this);
    OutputLock lock(state->system);
    const int64_t now = state->system->output->Frames();
    state->played = state->Position(now);
    state->syncFrame = now;
    state->paused = paused;
    return FMOD_OK;
}

FMOD_RESULT Channel::getPaused(bool* paused) {
    if (paused == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    *paused = static_cast<ChannelState*>(this)->paused;
    return FMOD_OK;
}

FMOD_RESULT Channel::getPosition(unsigned int* position, FMOD_TIMEUNIT postype) {
    ChannelState* state = static_cast<ChannelState*>(this);
    if (position == nullptr) {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (state->sound == nullptr) {
        *position = 0;
        return FMOD_OK;
    }
    OutputLock lock(state->system);
    const int64_t frames =
        std::clamp<int64_t>(state->Position(state->system->output->Frames()), 0, state->sound->Frames());
    if (postype == FMOD_TIMEUNIT_PCM) {
        *position = static_cast<unsigned int>(frames);
    } else if (postype == FMOD_TIMEUNIT_MS) {
        *position = static_cast<unsigned int>(frames * 1000 / fmod_standin::kOutputRate);
    } else {
        return FMOD_ERR_INVALID_PARAM;
    }
    return FMOD_OK;
}

// Moves the play position; a position at or past the sound's end is refused.
FMOD_RESULT Channel::setPosition(unsigned int position, FMOD_TIMEUNIT postype) {
    ChannelState* state = static_cast<ChannelState*>(this);
    if (state->sound == nullptr) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    int64_t frames = 0;
    if (postype == FMOD_TIMEUNIT_PCM) {
        frames = position;
    } else if (postype == FMOD_TIMEUNIT_MS) {
        frames = int64_t{position} * fmod_standin::kOutputRate / 1000;
    } else {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (frames >= state->sound->Frames()) {
        return FMOD_ERR_INVALID_POSITION;
    }
    OutputLock lock(state->system);
    state->played = frames;
    state->syncFrame = state->system->output->Frames();
    return FMOD_OK;
}

}  // namespace FMOD

const char* FMOD_ErrorString(FMOD_RESULT result) {
    switch (result) {
    case FMOD_OK: return "No errors.";
    case FMOD_ERR_CHANNEL_ALLOC: return "Error trying to allocate a channel.";
    case FMOD_ERR_FILE_BAD: return "Error loading file.";
    case FMOD_ERR_FILE_EOF:
        return "End of file unexpectedly reached while trying to read essential data (the file is empty or cut short).";
    case FMOD_ERR_FILE_NOTFOUND: return "File not found.";
    case FMOD_ERR_FORMAT: return "Unsupported file or audio format (no MPEG audio could be decoded).";
    case FMOD_ERR_INITIALIZED: return "Cannot call this command after System::init.";
    case FMOD_ERR_INVALID_HANDLE: return "An invalid object handle was used.";
    case FMOD_ERR_INVALID_PARAM: return "An invalid parameter was passed to this function.";
    case FMOD_ERR_INVALID_POSITION: return "An invalid seek position was passed to this function.";
    case FMOD_ERR_MEMORY: return "Not enough memory or resources (the sound is longer than the stand-in accepts).";
    case FMOD_ERR_OUTPUT_INIT: return "Error initializing output device.";
    case FMOD_ERR_UNINITIALIZED: return "This command failed because System::init was not called.";
    case FMOD_ERR_UNSUPPORTED: return "A command issued was not supported by this object.";
    }
    return "Unknown error.";
}
