#pragma once

#include "LilvHost.h"

#include <memory>
#include <string>
#include <vector>

/** One instantiated LV2 plug-in, run in mono: the input signal goes to every audio input, the
    first audio output is the result. Control inputs start at their defaults; settings override
    them by port symbol, and properties (for plug-ins such as JUCE's that take their parameters as
    patch:Set messages) are sent once before the first block. */
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
    int getNumAudioInputs() const noexcept { return (int)audioInputs.size(); }
    int getNumAudioOutputs() const noexcept { return (int)audioOutputs.size(); }

    /** Processes numSamples (at most the host's block size) from input into output (mono). */
    void run (const float* input, float* output, int numSamples);

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

    std::vector<std::vector<float>> audioInputs, audioOutputs;
    std::vector<float> controlValues; // one per port; only control ports use theirs
    std::vector<std::vector<float>> cvBuffers;
    std::vector<std::unique_ptr<AtomBuffer>> atomBuffers;
    AtomBuffer* controlInput = nullptr; // the atom input that takes patch:Set
    std::vector<Setting> pendingProperties;

    LilvPluginRunner (const LilvPluginRunner&) = delete;
    LilvPluginRunner& operator= (const LilvPluginRunner&) = delete;
};
