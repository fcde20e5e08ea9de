#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of everything on the board that is stomp-box hardware.

    - Toggle buttons are chrome footswitch pictures, lit or dark by their toggle state. A pedal's
      on/off switch is the picture alone; the preset buttons ("PRESET" in the name), the save
      switch ("recordpreset") and the bank buttons ("bankUp", "bankDown") show their text above the
      picture, the bank buttons without the LED. Only the component name chooses the variant.
    - A label (the bank display) is the caption "Bank" over one red LED letter, A to I, cut from
      the LED strip; other letters show the caption alone.
    - Rotary sliders are the pedal knobs: caption, eleven ticks, skirt, turning scalloped cap,
      centre disc and pointer, all in proportions of the slider's area.

    Construction decodes its pictures through the image cache. One instance serves every control
    that uses it; drawing changes no state. Message thread only. */
class PedalLookAndFeel : public juce::LookAndFeel_V4
{
public:
    PedalLookAndFeel();
    ~PedalLookAndFeel() override;

    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;

    void drawLabel (juce::Graphics&, juce::Label&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    static constexpr juce::uint32 captionColour = 0xfff5f5f5; /**< whitesmoke */
    static constexpr juce::uint32 antiqueWhite = 0xfffaebd7;  /**< knob ticks and pointer */

    /** Pitch of the letters in the LED strip, and the width of one letter, in pixels. */
    static constexpr int ledLetterPitch = 100;
    static constexpr int ledLetterWidth = 75;

private:
    const void* footswitchOnImageData;
    int footswitchOnImageSize;
    const void* footswitchOffImageData;
    int footswitchOffImageSize;
    juce::Image onImage;         /**< 75 x 100, LED lit */
    juce::Image offImage;        /**< 75 x 100, LED dark */
    juce::Image bankLetterImage; /**< 900 x 107, letter k of A to I in columns 100k to 100k + 74 */

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PedalLookAndFeel)
};
