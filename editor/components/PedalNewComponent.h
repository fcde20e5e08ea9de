#pragma once

#include "engine/Pedal.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The face of one pedal on the board: a drop-shadowed rounded body in the colour of the pedal's
    effect type, the enclosure outline picture laid over it, and the pedal's display name. The
    knobs and the footswitch are the face's children and draw themselves.

    The face reads only the pedal's `type` and `displayName`, which never change after the
    processor built its pedals. Message thread only. */
class PedalNewComponent : public juce::Component
{
public:
    PedalNewComponent();
    ~PedalNewComponent() override;

    void paint (juce::Graphics&) override;

    /** The pedal shown; set once by the editor before the face is first shown. Not owned: the
        processor's pedals outlive the editor. A face without a pedal paints nothing. */
    Pedal* pedal = nullptr;

    /** Body colour of each effect type (ARGB), indexed by `Pedal::type`. */
    static constexpr juce::uint32 typeColours[numEffectTypes] = {
        0xff0000ff, // vibrato/chorus: blue
        0xff800080, // digital reverb: purple
        0xffb8860b, // tremolo: dark goldenrod
        0xff006400, // delay: dark green
        0xff555555, // compressor: dark grey
        0xff8b0000, // fuzz: dark red
        0xff000000, // tone drive: black
        0xff2bad6d, // 707 drive: green
    };

    /** The body colour for a type, or none (transparent) for a type outside 0 to 7. */
    static juce::Colour bodyColourFor (int type);

private:
    const void* bodyImageData;
    int bodyImageSize;
    juce::Image faceImage;                  /**< the outline picture at the last paint's size */
    juce::Colour textColour { 0x00000000 }; /**< the name's colour: white from the first paint */

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PedalNewComponent)
};
