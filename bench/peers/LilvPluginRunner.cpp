#include "LilvPluginRunner.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/patch/patch.h>

#include <cmath>

namespace
{
/** Bytes per atom port buffer: room for every patch:Set we send at once (143 of ours take
    about 10 KiB) and for what a plug-in writes back in one block. */
constexpr size_t atomBufferBytes = 64 * 1024;

struct Nodes
{
    explicit Nodes (LilvWorld* world)
        : audio (lilv_new_uri (world, LV2_CORE__AudioPort)),
          control (lilv_new_uri (world, LV2_CORE__ControlPort)),
          cv (lilv_new_uri (world, LV2_CORE__CVPort)),
          atom (lilv_new_uri (world, LV2_ATOM__AtomPort)),
          input (lilv_new_uri (world, LV2_CORE__InputPort)),
          output (lilv_new_uri (world, LV2_CORE__OutputPort)),
          supports (lilv_new_uri (world, LV2_ATOM__supports)),
          patchMessage (lilv_new_uri (world, LV2_PATCH__Message))
    {
    }

    ~Nodes()
    {
        for (auto* node : { audio, control, cv, atom, input, output, supports, patchMessage })
            lilv_node_free (node);
    }

    LilvNode *audio, *control, *cv, *atom, *input, *output, *supports, *patchMessage;
};
} // namespace

LilvPluginRunner::LilvPluginRunner (LilvHost& hostToUse, const std::string& uri,
                                    const std::vector<Setting>& controls,
                                    const std::vector<Setting>& properties)
    : host (hostToUse), pendingProperties (properties)
{
    const LilvPlugin* plugin = host.findPlugin (uri);
    if (plugin == nullptr)
    {
        error = "not installed: " + uri;
        return;
    }

    LilvNode* nameNode = lilv_plugin_get_name (plugin);
    name = nameNode != nullptr ? lilv_node_as_string (nameNode) : uri;
    lilv_node_free (nameNode);

    std::string missing;
    if (! host.supportsRequiredFeatures (plugin, missing))
    {
        error = "needs a feature this host lacks: " + missing;
        return;
    }

    LilvWorld* world = host.getWorld();
    const Nodes nodes (world);
    sequenceType = host.map (LV2_ATOM__Sequence);
    chunkType = host.map (LV2_ATOM__Chunk);
    const uint32_t numPorts = lilv_plugin_get_num_ports (plugin);
    controlValues.assign (numPorts, 0.0f);
    std::vector<float> minimums (numPorts), maximums (numPorts), defaults (numPorts);
    lilv_plugin_get_port_ranges_float (plugin, minimums.data(), maximums.data(), defaults.data());

    instance = lilv_plugin_instantiate (plugin, host.getSampleRate(), host.getFeatures());
    if (instance == nullptr)
    {
        error = "failed to instantiate";
        return;
    }

    const auto blockSize = (size_t) host.getMaxBlockSize();
    for (uint32_t index = 0; index < numPorts; ++index)
    {
        const LilvPort* port = lilv_plugin_get_port_by_index (plugin, index);
        const bool isInput = lilv_port_is_a (plugin, port, nodes.input);
        void* location = nullptr;

        if (lilv_port_is_a (plugin, port, nodes.audio))
        {
            auto& list = isInput ? audioInputs : audioOutputs;
            list.emplace_back (blockSize, 0.0f);
            location = list.back().data();
            (isInput ? audioInputPorts : audioOutputPorts).push_back (index);
        }
        else if (lilv_port_is_a (plugin, port, nodes.control))
        {
            float value = std::isnan (defaults[index]) ? 0.0f : defaults[index];
            if (std::isnan (defaults[index]) && ! std::isnan (minimums[index]))
                value = minimums[index];
            const char* symbol = lilv_node_as_string (lilv_port_get_symbol (plugin, port));
            for (const auto& setting : controls)
                if (isInput && setting.key == symbol)
                    value = setting.value;
            controlValues[index] = value;
            location = &controlValues[index];
        }
        else if (lilv_port_is_a (plugin, port, nodes.cv))
        {
            cvBuffers.emplace_back (blockSize, 0.0f);
            location = cvBuffers.back().data();
        }
        else if (lilv_port_is_a (plugin, port, nodes.atom))
        {
            auto buffer = std::make_unique<AtomBuffer>();
            buffer->storage.assign (atomBufferBytes / sizeof (uint64_t), 0);
            buffer->isInput = isInput;
            if (isInput && controlInput == nullptr
                && lilv_port_supports_event (plugin, port, nodes.patchMessage))
                controlInput = buffer.get();
            location = buffer->storage.data();
            atomBuffers.push_back (std::move (buffer));
        }
        lilv_instance_connect_port (instance, index, location);
    }

    if (! pendingProperties.empty() && controlInput == nullptr)
        error = "takes no patch messages, so its properties cannot be set";

    lilv_instance_activate (instance);
}

LilvPluginRunner::~LilvPluginRunner()
{
    if (instance != nullptr)
    {
        lilv_instance_deactivate (instance);
        lilv_instance_free (instance);
    }
}

void LilvPluginRunner::prepareAtomBuffers()
{
    for (auto& buffer : atomBuffers)
    {
        auto* sequence = reinterpret_cast<LV2_Atom_Sequence*> (buffer->storage.data());
        if (buffer->isInput)
        {
            // An empty sequence.
            sequence->atom.size = sizeof (LV2_Atom_Sequence_Body);
            sequence->atom.type = sequenceType;
            sequence->body.unit = 0;
            sequence->body.pad = 0;
        }
        else
        {
            // The space the plug-in may write into, as a Chunk.
            sequence->atom.size = (uint32_t) (atomBufferBytes - sizeof (LV2_Atom));
            sequence->atom.type = chunkType;
        }
    }
}

void LilvPluginRunner::writePendingProperties (AtomBuffer& buffer)
{
    LV2_Atom_Forge forge;
    lv2_atom_forge_init (&forge, host.getUridMap());
    lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (buffer.storage.data()),
                               atomBufferBytes);

    LV2_Atom_Forge_Frame sequenceFrame;
    lv2_atom_forge_sequence_head (&forge, &sequenceFrame, 0);
    for (const auto& property : pendingProperties)
    {
        LV2_Atom_Forge_Frame objectFrame;
        lv2_atom_forge_frame_time (&forge, 0);
        lv2_atom_forge_object (&forge, &objectFrame, 0, host.map (LV2_PATCH__Set));
        lv2_atom_forge_key (&forge, host.map (LV2_PATCH__property));
        lv2_atom_forge_urid (&forge, host.map (property.key.c_str()));
        lv2_atom_forge_key (&forge, host.map (LV2_PATCH__value));
        lv2_atom_forge_float (&forge, property.value);
        lv2_atom_forge_pop (&forge, &objectFrame);
    }
    lv2_atom_forge_pop (&forge, &sequenceFrame);
    pendingProperties.clear();
}

void LilvPluginRunner::connectAudio (const float* input, float* output)
{
    // LV2 connects every port as writable; the plug-in only reads its inputs.
    for (const uint32_t port : audioInputPorts)
        lilv_instance_connect_port (instance, port, const_cast<float*> (input));
    if (! audioOutputPorts.empty())
        lilv_instance_connect_port (instance, audioOutputPorts.front(), output);
}

void LilvPluginRunner::run (int numSamples)
{
    // The atom ports are reset with every block, as any host must: the plug-in writes the size
    // of what it sent over the output's capacity.
    prepareAtomBuffers();
    if (! pendingProperties.empty() && controlInput != nullptr)
        writePendingProperties (*controlInput);

    lilv_instance_run (instance, (uint32_t) numSamples);
}
