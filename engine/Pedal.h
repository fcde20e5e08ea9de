#pragma once

#include "engine/MonoBlock.h"
#include "engine/dsp/BlockDelayLine.h"
#include "engine/dsp/OnePoleFilter.h"
#include "engine/dsp/Waveshaper.h"

#include <juce_core/juce_core.h>

#include <cstdint>

namespace juce
{
class AudioParameterFloat;
class AudioParameterBool;
} // namespace juce

/** The eight effect types; a pedal's type never changes after Pedal::init. */
enum EffectType : int32_t
{
    vibratoChorusEffect = 0,
    digitalReverbEffect = 1,
    tremoloEffect = 2,
    delayEffect = 3,
    compressorEffect = 4,
    fuzzFakeEffect = 5,
    toneDriveEffect = 6,
    drive707Effect = 7,
    numEffectTypes = 8
};

/** What a pedal is called, how many knobs it has and which host parameters drive it. */
struct pedalDefinition
{
    static constexpr int maxKnobs = 5;

    int32_t numParams = 0;                                  /**< 2 to 5 */
    juce::AudioParameterFloat* knobParameters[maxKnobs] {}; /**< the first numParams are set */
    juce::AudioParameterBool* onOff = nullptr;
    juce::String codeName;             /**< its first 10 characters go into the parameter IDs */
    juce::String displayName;          /**< drawn on the pedal face */
    juce::String paramNames[maxKnobs]; /**< knob captions; entries from numParams on stay empty */
    int32_t type = -1;                 /**< effect type 0 to 7 */
};

/** Sizes of the pedals' delay memories, in samples: 0.1 s, 0.3 s and 2 s at 192 kHz
    (the first two plus one sample). */
namespace pedalCapacity
{
constexpr int32_t chorusHistory = 19201;
constexpr int32_t reverbLine = 57601;
constexpr int32_t delayLine = 384000;
constexpr int32_t driveBuffer = 16384;
} // namespace pedalCapacity

/** A feedback comb of the digital reverb. */
struct ReverbComb : BlockDelayLine<pedalCapacity::reverbLine>
{
};

/** An all-pass stage of the digital reverb, with the stage's output for the current block. */
struct ReverbAllpass : BlockDelayLine<pedalCapacity::reverbLine>
{
    float out[MonoBlock::maxBlockSize] {};
};

/** One pedal of the board: its description head followed by the signal state of every effect
    type, of which only its own type's part is used. Everything is held inline (about 4 MB), so
    nothing is allocated after construction. Audio thread only, apart from the head. */
struct Pedal : pedalDefinition
{
    // Digital reverb
    ReverbComb combs[4];
    ReverbAllpass allpasses[3];
    /** Comb lengths in 1618ths of the room time. */
    int32_t combTuning[4] { 1116, 1356, 1422, 1617 };
    float combGains[4] { 0.805f, 0.827f, 0.783f, 0.764f };

    // Vibrato/Chorus
    float chorusPhase = 0.0f; /**< cycles, 0 to 1 */
    float chorusHistory[pedalCapacity::chorusHistory] {};

    // Tremolo
    float tremoloPhase = 0.0f; /**< cycles, 0 to 1 */

    // Delay
    BlockDelayLine<pedalCapacity::delayLine> delayLine;

    // Compressor
    float compressorEnvelope = 0.0f;
    float compressorGain = 0.0f;

    // Tone Drive
    Waveshaper toneDriveShaper;
    OnePoleFilter toneDriveFilters[4];
    float toneDriveBuffer[pedalCapacity::driveBuffer] {};
    float toneDriveLastTone = -1.0f;
    int32_t toneDriveLastRate = 10000;

    // 707 Drive
    Waveshaper drive707Shaper;
    OnePoleFilter drive707Filters[5];
    float drive707Buffer[pedalCapacity::driveBuffer] {};
    float drive707ToneBuffer[pedalCapacity::driveBuffer] {};
    float drive707LastTone = -1.0f;
    int32_t drive707LastRate = 10000;
    float drive707LastGain = -1.0f;

    /** Fills the head for an effect type; a type outside 0 to 7 sets `type` and nothing else. */
    void init (int type);

    /** Runs the pedal on the block in place when it is switched on. Audio thread. */
    void process (const MonoBlock& block) noexcept;

    /** Clears what a host reset clears: the delay line of a Delay, every array of a reverb. */
    void clearMemories() noexcept;
};
