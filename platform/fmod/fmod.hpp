// Sound-library stand-in: the subset of the FMOD Ex C++ API that the demo
// uses, with the same names, argument lists and meanings.
//
// Model:
// - A System mixes at 44100 Hz to a stereo output (mono when the speaker mode
//   is FMOD_SPEAKERMODE_MONO; the multichannel modes keep the front pair).
// - createSound reads the whole file and decodes it (MP3, through libmpg123)
//   into 32-bit float stereo samples at the output rate, held in memory. A
//   missing, empty or undecodable file is an error result.
// - playSound starts a sound from its beginning on a channel; it plays once.
// - The output is an SDL2 audio device where one can be opened. Headless (the
//   Win32 stand-in's headless backend, DEMO_HEADLESS in the environment, no
//   audio device, or SDL audio failing) it is silent and its play position
//   follows QueryPerformanceCounter, so a fixed-step counter gives exactly one
//   frame's worth of samples per frame and the same spectrum on every run.
// - getSpectrum analyses the last 2 x numvalues output samples of one output
//   channel (see docs/spectrum.md for the scale).
//
// Only FMOD_OK's value (0) is relied on; the other result codes carry the real
// library's names, numbered here in their own order.
#pragma once

typedef unsigned int FMOD_CAPS;
typedef unsigned int FMOD_INITFLAGS;
typedef unsigned int FMOD_MODE;
typedef unsigned int FMOD_TIMEUNIT;

enum FMOD_RESULT {
    FMOD_OK = 0,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_FILE_EOF,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FORMAT,
    FMOD_ERR_INITIALIZED,
    FMOD_ERR_INVALID_HANDLE,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_INVALID_POSITION,
    FMOD_ERR_MEMORY,
    FMOD_ERR_OUTPUT_INIT,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_UNSUPPORTED,
};

enum FMOD_SPEAKERMODE {
    FMOD_SPEAKERMODE_RAW,
    FMOD_SPEAKERMODE_MONO,
    FMOD_SPEAKERMODE_STEREO,
    FMOD_SPEAKERMODE_QUAD,
    FMOD_SPEAKERMODE_SURROUND,
    FMOD_SPEAKERMODE_5POINT1,
    FMOD_SPEAKERMODE_7POINT1,
    FMOD_SPEAKERMODE_SRS5_1_MATRIX,
    FMOD_SPEAKERMODE_MYEARS,
    FMOD_SPEAKERMODE_MAX,
};

enum FMOD_DSP_FFT_WINDOW {
    FMOD_DSP_FFT_WINDOW_RECT,
    FMOD_DSP_FFT_WINDOW_TRIANGLE,
    FMOD_DSP_FFT_WINDOW_HAMMING,
    FMOD_DSP_FFT_WINDOW_HANNING,
    FMOD_DSP_FFT_WINDOW_BLACKMAN,
    FMOD_DSP_FFT_WINDOW_BLACKMANHARRIS,
    FMOD_DSP_FFT_WINDOW_MAX,
};

enum FMOD_CHANNELINDEX {
    FMOD_CHANNEL_FREE = -1,
    FMOD_CHANNEL_REUSE = -2,
};

#define FMOD_CAPS_NONE 0x00000000
#define FMOD_CAPS_HARDWARE 0x00000001
#define FMOD_CAPS_HARDWARE_EMULATED 0x00000002
#define FMOD_CAPS_OUTPUT_MULTICHANNEL 0x00000004
#define FMOD_CAPS_OUTPUT_FORMAT_PCM8 0x00000008
#define FMOD_CAPS_OUTPUT_FORMAT_PCM16 0x00000010
#define FMOD_CAPS_OUTPUT_FORMAT_PCM24 0x00000020
#define FMOD_CAPS_OUTPUT_FORMAT_PCM32 0x00000040
#define FMOD_CAPS_OUTPUT_FORMAT_PCMFLOAT 0x00000080

#define FMOD_INIT_NORMAL 0x00000000

#define FMOD_DEFAULT 0x00000000
#define FMOD_LOOP_OFF 0x00000001
#define FMOD_LOOP_NORMAL 0x00000002
#define FMOD_LOOP_BIDI 0x00000004
#define FMOD_2D 0x00000008
#define FMOD_3D 0x00000010
#define FMOD_HARDWARE 0x00000020
#define FMOD_SOFTWARE 0x00000040
#define FMOD_CREATESTREAM 0x00000080
#define FMOD_CREATESAMPLE 0x00000100
#define FMOD_CREATECOMPRESSEDSAMPLE 0x00000200
#define FMOD_OPENUSER 0x00000400
#define FMOD_OPENMEMORY 0x00000800
#define FMOD_OPENRAW 0x00001000
#define FMOD_OPENONLY 0x00002000
#define FMOD_ACCURATETIME 0x00004000
#define FMOD_MPEGSEARCH 0x00008000
#define FMOD_NONBLOCKING 0x00010000

#define FMOD_TIMEUNIT_MS 0x00000001
#define FMOD_TIMEUNIT_PCM 0x00000002

struct FMOD_CREATESOUNDEXINFO;

namespace FMOD {

class Sound;
class Channel;

class System {
public:
    FMOD_RESULT release();
    // Driver 0 only. Reports the stereo output the stand-in mixes to.
    FMOD_RESULT getDriverCaps(int id, FMOD_CAPS* caps, int* minfrequency, int* maxfrequency,
                              FMOD_SPEAKERMODE* controlpanelspeakermode);
    FMOD_RESULT setSpeakerMode(FMOD_SPEAKERMODE speakermode);  // before init only
    FMOD_RESULT init(int maxchannels, FMOD_INITFLAGS flags, void* extradriverdata);
    FMOD_RESULT update();  // frees the channels whose sound has played to its end
    FMOD_RESULT createSound(const char* name_or_data, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo,
                            Sound** sound);
    FMOD_RESULT playSound(FMOD_CHANNELINDEX channelid, Sound* sound, bool paused, Channel** channel);
    // numvalues: a power of two from 64 to 8192; channeloffset: output channel.
    FMOD_RESULT getSpectrum(float* spectrumarray, int numvalues, int channeloffset,
                            FMOD_DSP_FFT_WINDOW windowtype);

protected:
    System() = default;
    ~System() = default;
};

class Sound {
public:
    FMOD_RESULT getLength(unsigned int* length, FMOD_TIMEUNIT lengthtype);

protected:
    Sound() = default;
    ~Sound() = default;
};

class Channel {
public:
    FMOD_RESULT isPlaying(bool* isplaying);
    FMOD_RESULT setPaused(bool paused);
    FMOD_RESULT getPaused(bool* paused);
    FMOD_RESULT getPosition(unsigned int* position, FMOD_TIMEUNIT postype);
    FMOD_RESULT setPosition(unsigned int position, FMOD_TIMEUNIT postype);

protected:
    Channel() = default;
    ~Channel() = default;
};

inline FMOD_RESULT System_Create(System** system);

}  // namespace FMOD

FMOD_RESULT FMOD_System_Create(FMOD::System** system);

inline FMOD_RESULT FMOD::System_Create(System** system) { return FMOD_System_Create(system); }

// Text of a result code (what fmod_errors.h offers in the real library).
const char* FMOD_ErrorString(FMOD_RESULT result);
