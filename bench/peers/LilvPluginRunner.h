#pragma once

#include "LilvHost.h"

#include <memory>
#include <string>
#include <vector>

/** One instantiated LV2 plug-in, run in mono: the input signal goes to every audio input, the
    first audio output is the result. Control inputs start at their defaults; settings override
    them by port symbol, and properties (for plug-ins such as JUCE's that take their parameters as
    patch:Set messages) are sent with the first block.

    The audio is not copied: connectAudio() points the plug-in's ports at the caller's block, so
    that a block costs the plug-in's own run call and next to nothing else. */
class LilvPluginRunner final
{
public:
    struct Setting
    {
        std::string key; /**< control port symbol, or property URI for properties */
        float value;     /**< in the port's or property's own units */
    };

    LilvPluginRunner (LilvHost& host, const std::string& uri, const std::vector<Setting>& controls,
                      const std::vector<Setting>& properties);
    ~LilvPluginRunner();

    bool isValid() const noexcept { return instance != nullptr; }
    const std::string& getError() const noexcept { return error; }
    const std::string& getName() const noexcept { return name; }
    int getNumAudioInputs() const noexcept { return (int) audioInputs.size(); }
    int getNumAudioOutputs() const noexcept { return (int) audioOutputs.size(); }

    /** True if the plug-in writes audio; an analyser such as a tuner only reads it. */
    bool hasAudioOutput() const noexcept { return ! audioOutputs.empty(); }

    /** Points every audio input at input and the first audio output (if any) at output, for the
        next run() calls. Both must hold the block and must not overlap. */
    void connectAudio (const float* input, float* output);

    /** Processes numSamples (at most the host's block size) of the connected audio. */
    void run (int numSamples);

private:
    struct AtomBuffer
    {
        std::vector<uint64_t> storage; // 8-byte aligned, as atoms must be
        bool isInput = false;
    };

    void prepareAtomBuffers();
    void writePendingProperties (AtomBuffer& buffer);

    LilvHost& host;
    std::string name, error;
    LilvInstance* instance = nullptr;

    std::vector<std::vector<float>> audioInputs, audioOutputs; // ours, until connectAudio()
    std::vector<uint32_t> audioInputPorts, audioOutputPorts;
    std::vector<float> controlValues; // one per port; only control ports use theirs
    std::vector<std::vector<float>> cvBuffers;
    std::vector<std::unique_ptr<AtomBuffer>> atomBuffers;
    AtomBuffer* controlInput = nullptr; // the atom input that takes patch:Set
    std::vector<Setting> pendingProperties;
    LV2_URID sequenceType = 0, chunkType = 0;

    LilvPluginRunner (const LilvPluginRunner&) = delete;
    LilvPluginRunner& operator= (const LilvPluginRunner&) = delete;
};
