#pragma once

#include "editor/components/PedalContainerComponent.h"
#include "editor/components/PedalNewComponent.h"
#include "editor/components/PresetContainerComponent.h"
#include "editor/looks/ChangesLookAndFeel.h"
#include "editor/looks/CommandLookAndFeel.h"
#include "editor/looks/NextLookAndFeel.h"
#include "editor/looks/PedalLookAndFeel.h"
#include "editor/looks/PreviousLookAndFeel.h"
#include "editor/looks/SwapLookAndFeel.h"
#include "editor/looks/TunerLookAndFeel.h"
#include "engine/StompvaleAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/** The plug-in's window: the pedal board.

    Every component is built once, in the constructor, from the processor's parameter list (one
    control per parameter, in parameter order, kept in controlList); afterwards the editor only
    moves, shows, hides and re-values them. Everything is laid out in a fixed design frame
    1285 units wide and 620 high (400 while the preset board is hidden) and scaled to the window.

    Direction of data: user gestures only write parameters; a 33 ms timer copies every parameter,
    the two meter levels and the tuner reading back into the controls. Message thread only,
    except stateRestored. */
class StompvaleAudioProcessorEditor final : public juce::AudioProcessorEditor,
                                            private juce::Timer,
                                            public juce::ComboBox::Listener,
                                            private juce::Slider::Listener,
                                            public juce::Button::Listener
{
public:
    /** Design frame in units: width, and height with the preset board shown or hidden. */
    static constexpr int frameWidth = 1285;
    static constexpr int frameHeightWithBoard = 620;
    static constexpr int frameHeightWithoutBoard = 400;

    static constexpr int refreshIntervalMs = 33;
    static constexpr int numPedals = StompvaleAudioProcessor::numPedals;
    static constexpr int numSlots = StompvaleAudioProcessor::numSlots;
    static constexpr int numBanks = StompvaleAudioProcessor::numBanks;

    /** The letters that name the banks; index = bank value. */
    static constexpr const char* bankLetters = "ABCDEFGHIJKLMNOPQ";

    /** Where the two web links point, and what the first one reads. */
    static constexpr const char* websiteAddress = "https://stompvale.example.org";
    static constexpr const char* websiteDomain = "stompvale.example.org";
    static constexpr const char* donationSuffix = "/#/paypal";

    explicit StompvaleAudioProcessorEditor (StompvaleAudioProcessor&);
    ~StompvaleAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void comboBoxChanged (juce::ComboBox*) override;
    void buttonClicked (juce::Button*) override;

    /** The text of the bank display for a bank value: its letter, "A" for values of 0 or less,
        empty from 17 on. */
    static juce::String bankLetterFor (int bank);

    /** The preset page that a bank value shows, or -1 for a bank that has no page. */
    static int pageForBank (int bank) noexcept;

private:
    friend struct StompvaleEditorTestAccess;

    void timerCallback() override;
    void sliderValueChanged (juce::Slider*) override;

    void buildTunerSlider();
    void buildBankButton (juce::ToggleButton*& keep, const char* name, const char* text);
    void buildLevelSlider (juce::Slider*& keep, const char* name);

    /** The control factory: one control per parameter, in parameter order. */
    void buildParameterControls();
    void addPedalKnob (juce::AudioParameterFloat&);
    void addVolumeSlider (juce::AudioParameterFloat&);
    void addPresetButton (juce::AudioParameterBool&);
    void addFootswitch (juce::AudioParameterBool&);
    void addMainToggle (juce::AudioParameterBool&);
    void addSaveToggle (juce::AudioParameterBool&);
    void addBankLabel (juce::AudioParameterInt&);
    void addChainButtons (juce::AudioParameterInt&);

    void layOutPresetPages();
    void layOutPedalFaces();
    void layOutChain();
    void layOutNamedControls();

    void stepChainPosition (int slot, int step);
    void swapChainPositions (int leftSlot);
    void emptyChainPosition (int slot);
    void stepBank (int direction);

    /** The affine transform that maps the design frame into a w x h window at scale s. */
    juce::AffineTransform frameTransform (float scale) const;
    int frameHeight() const;

    int chainPosition (int slot) const;
    int bankValue() const;

    //==============================================================================================
    /** The one child of the editor; parent of every control; carries the scale transform. */
    juce::Component contentComponent;

    juce::Image boardBackgroundImage; /**< wooden floor; 1285 x 400 from the first paint on */
    juce::Image makerWordmarkImage;   /**< 176 x 30, drawn at (965, 10) */

    juce::OwnedArray<juce::Slider> knobSliders[numPedals];             /**< per pedal, knob order */
    juce::OwnedArray<juce::ToggleButton> footswitchButtons[numPedals]; /**< per pedal, one each */

    /** The chain-editing buttons: one array per position and kind, holding that position's
        button ("SWAPB" only for positions 0 to 4: it sits between a position and the next). */
    struct SlotButtons
    {
        juce::OwnedArray<juce::ToggleButton> next[numSlots];
        juce::OwnedArray<juce::ToggleButton> previous[numSlots];
        juce::OwnedArray<juce::ToggleButton> change[numSlots];
        juce::OwnedArray<juce::ToggleButton> swap[numSlots - 1];
    } slotButtons;

    juce::OwnedArray<juce::Slider> namedSliders;       /**< "levelIn", "levelOut", "volume" */
    juce::OwnedArray<juce::Label> parameterLabels;     /**< bankLabel, then the 6 position labels */
    juce::OwnedArray<juce::ToggleButton> namedButtons; /**< bank buttons, then the 3 toggles */

    juce::Slider* levelInSlider = nullptr;  /**< points into namedSliders */
    juce::Slider* levelOutSlider = nullptr; /**< points into namedSliders */

    juce::HyperlinkButton websiteLink;  /**< placed and labelled by paint */
    juce::HyperlinkButton donationLink; /**< placed and labelled by paint */

    juce::Slider tunerSlider;  /**< name = note text, value = deviation -50..50 */
    juce::Component chainArea; /**< the six positions and the five swap buttons */

    juce::Array<juce::Component*> controlList;      /**< index j = control of parameter j */
    juce::Array<juce::Component*> lookAndFeelUsers; /**< detached from their looks on close */

    PedalNewComponent pedalFaces[numPedals];          /**< index = pedal number */
    PedalContainerComponent slotContainers[numSlots]; /**< index = chain position */

    juce::OwnedArray<juce::ToggleButton> presetButtons; /**< the 30 preset buttons */
    PresetContainerComponent presetBoard;
    juce::Component presetPages[numBanks]; /**< page b holds preset buttons 10b to 10b + 9 */

    juce::ToggleButton* bankUpButton = nullptr;   /**< points into namedButtons */
    juce::ToggleButton* bankDownButton = nullptr; /**< points into namedButtons */
    juce::Label* bankLabel = nullptr;             /**< points into parameterLabels */
    juce::Label volumeCaption;

    /** The preset board's visibility as last laid out by a click on its toggle. */
    bool presetBoardShown = false;

public:
    /** Raised by the engine after a preset load (render thread) or a host state restore (host
        thread), under the framework's active-editor lock; the timer lays the board out again
        and clears it. Relaxed: it carries no data, only "look again". */
    std::atomic<bool> stateRestored { false };

private:
    CommandLookAndFeel commandLook;
    PedalLookAndFeel pedalLook;
    TunerLookAndFeel tunerLook;
    PreviousLookAndFeel previousLook;
    ChangesLookAndFeel changesLook;
    SwapLookAndFeel swapLook;
    NextLookAndFeel nextLook;

    /** The bank whose letter and page were last shown. */
    int shownBank = 0;

    StompvaleAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StompvaleAudioProcessorEditor)
};
