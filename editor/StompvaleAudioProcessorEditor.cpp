#include "editor/StompvaleAudioProcessorEditor.h"

#include "editor/EmbeddedResources.h"

#include <algorithm>
#include <iterator>

namespace
{
// Colours, ARGB.
constexpr juce::uint32 backgroundColour = 0xff0a0a0a; // margins around the design frame
constexpr juce::uint32 tunerBarColour = 0xff808080;   // bar behind the tuner meter
constexpr juce::uint32 whitesmoke = 0xfff5f5f5;       // version text, link text
constexpr juce::uint32 boardTextColour = 0xff4b3062;  // text and ticks on the preset board
constexpr juce::uint32 volumeThumbColour = 0xfff5f5f5;
constexpr juce::uint32 volumeTrackColour = 0xffd3d3d3;
constexpr juce::uint32 volumeBackgroundColour = 0xff808080;

// Fixed places in the design frame, in units, each inside the parent named.
const juce::Rectangle<int> tunerBounds { 200, 0, 220, 40 };         // contentComponent
const juce::Rectangle<int> chainAreaBounds { 0, 50, 1285, 350 };    // contentComponent
const juce::Rectangle<int> presetBoardBounds { 0, 400, 1285, 220 }; // contentComponent
const juce::Rectangle<int> bankLabelBounds { 270, 10, 100, 200 };   // presetBoard
const juce::Rectangle<int> presetPageBounds { 380, 10, 800, 200 };  // presetBoard
const juce::Rectangle<int> websiteLinkBounds { 1135, 10, 130, 18 }; // contentComponent
const juce::Rectangle<int> donationLinkBounds { 1135, 30, 130, 18 };
const juce::Rectangle<int> versionTextBounds { 1225, 380, 40, 20 };
const juce::Rectangle<int> tunerBarBounds { 200, 20, 195, 20 };
constexpr int wordmarkX = 965, wordmarkY = 10;
constexpr int floorWidth = 1285, floorHeight = 400;

constexpr int presetButtonSize = 100; // square; two rows of five, 150 units apart across
constexpr int presetColumnPitch = 150;
constexpr int presetsPerRow = 5;

constexpr int slotWidth = 200, slotHeight = 340, slotPitch = 210, slotX = 17, slotY = 5;
constexpr int swapButtonX = 207, swapButtonY = 150, swapButtonSize = 30;
const juce::Rectangle<int> previousButtonBounds { 20, 10, 30, 30 }; // in the position
const juce::Rectangle<int> nextButtonBounds { 150, 10, 30, 30 };
const juce::Rectangle<int> changeButtonBounds { 90, 0, 20, 20 };
constexpr int chainButtonCount = 3; // children 0 to 2 of a position; a face comes after them

/** Places of the named sliders (in contentComponent or presetBoard) and toggles. */
struct NamedPlace
{
    const char* name;
    juce::Rectangle<int> bounds;
};

const NamedPlace namedPlaces[] = {
    { "volume", { 640, 10, 200, 40 } },    { "levelIn", { 15, 20, 15, 160 } },
    { "levelOut", { 1255, 20, 15, 160 } }, { "tuner", { 110, 10, 80, 40 } },
    { "presetboard", { 25, 10, 80, 40 } }, { "recordpreset", { 50, 60, 100, 100 } },
    { "bankUp", { 170, 10, 100, 100 } },   { "bankDown", { 170, 110, 100, 100 } },
};

constexpr int knobWidth = 60, knobHeight = 80;
constexpr int footswitchY = 215, footswitchSize = 50;

/** The plain (natural) value of a parameter as a float: booleans are 0 or 1. */
float plainValue (juce::AudioProcessorParameter& parameter)
{
    if (auto* f = dynamic_cast<juce::AudioParameterFloat*> (&parameter))
        return f->get();

    if (auto* b = dynamic_cast<juce::AudioParameterBool*> (&parameter))
        return b->get() ? 1.0f : 0.0f;

    if (auto* i = dynamic_cast<juce::AudioParameterInt*> (&parameter))
        return StompvaleAudioProcessor::naturalValue (*i);

    if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (&parameter))
        return ranged->convertFrom0to1 (ranged->getValue());

    return parameter.getValue();
}

juce::URL websiteUrl() { return juce::URL (StompvaleAudioProcessorEditor::websiteAddress); }

/** Unparsed, so the framework does not escape the slash of the page's "#/" route. */
juce::URL donationUrl()
{
    return juce::URL::createWithoutParsing (
        juce::String (StompvaleAudioProcessorEditor::websiteAddress)
        + StompvaleAudioProcessorEditor::donationSuffix);
}

/** Text, tick and disabled tick of a preset-board button, which its look may read. */
void setBoardTextColours (juce::Button& button)
{
    for (auto id : { juce::ToggleButton::textColourId, juce::ToggleButton::tickColourId,
                     juce::ToggleButton::tickDisabledColourId })
        button.setColour (id, juce::Colour (boardTextColour));
}

/** The digit that ends a chain or swap button's name ("NEXTB3" gives 3). */
int lastDigit (const juce::String& name) { return name.getLastCharacters (1).getIntValue(); }
} // namespace

//==================================================================================================
StompvaleAudioProcessorEditor::StompvaleAudioProcessorEditor (StompvaleAudioProcessor& p)
    : AudioProcessorEditor (p),
      // Built with their addresses: assigning a URL to a default-built link copies an empty
      // memory block through memcpy (nullptr), which JUCE 7.0.5 does without a guard.
      websiteLink ({}, websiteUrl()), donationLink ({}, donationUrl()), audioProcessor (p)
{
    boardBackgroundImage = juce::ImageCache::getFromMemory (embedded::boardBackgroundImage.data,
                                                            embedded::boardBackgroundImage.size);
    makerWordmarkImage = juce::ImageCache::getFromMemory (embedded::makerWordmarkImage.data,
                                                          embedded::makerWordmarkImage.size);
    buildTunerSlider();

    chainArea.setBounds (chainAreaBounds);
    contentComponent.addAndMakeVisible (chainArea);

    contentComponent.addAndMakeVisible (presetBoard);
    presetBoard.setBounds (presetBoardBounds);

    if (const auto page = pageForBank (bankValue()); page >= 0)
        presetBoard.addAndMakeVisible (presetPages[page]);

    buildBankButton (bankUpButton, "bankUp", "UP");
    buildBankButton (bankDownButton, "bankDown", "DOWN");
    shownBank = bankValue();

    buildLevelSlider (levelInSlider, "levelIn");
    buildLevelSlider (levelOutSlider, "levelOut");

    buildParameterControls();

    contentComponent.addAndMakeVisible (websiteLink);
    contentComponent.addAndMakeVisible (donationLink);

    setResizable (true, true);
    setSize (frameWidth, frameHeightWithBoard);

    contentComponent.setBounds (0, 0, frameWidth, frameHeightWithBoard);
    addAndMakeVisible (contentComponent);

    presetBoardShown = presetBoard.isVisible();
    startTimer (refreshIntervalMs);
}

StompvaleAudioProcessorEditor::~StompvaleAudioProcessorEditor()
{
    // The looks are members declared after the controls, so they die first: no control may
    // still point at one then.
    for (auto* component : lookAndFeelUsers)
        component->setLookAndFeel (nullptr);
}

//==================================================================================================
void StompvaleAudioProcessorEditor::buildTunerSlider()
{
    tunerSlider.setBounds (tunerBounds);
    tunerSlider.setRange (-50.0, 50.0, 1.0);
    tunerSlider.setSliderStyle (juce::Slider::LinearHorizontal);
    tunerSlider.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
    tunerSlider.setLookAndFeel (&tunerLook);
    tunerSlider.setComponentID ("TunerVM");
    tunerSlider.setValue (audioProcessor.tunerDeviation.load(), juce::dontSendNotification);
    lookAndFeelUsers.add (&tunerSlider);
    contentComponent.addChildComponent (tunerSlider);
    tunerSlider.setVisible (false);
}

void StompvaleAudioProcessorEditor::buildBankButton (juce::ToggleButton*& keep, const char* name,
                                                     const char* text)
{
    auto* button = namedButtons.add (new juce::ToggleButton (name));
    keep = button;
    button->setToggleState (false, juce::dontSendNotification);
    button->addListener (this);
    button->setButtonText (text);
    setBoardTextColours (*button);
    button->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    button->setLookAndFeel (&pedalLook);
    lookAndFeelUsers.add (button);
    presetBoard.addAndMakeVisible (button);
}

void StompvaleAudioProcessorEditor::buildLevelSlider (juce::Slider*& keep, const char* name)
{
    // A display only: no listener, no cursor. The timer feeds it the meter level in percent.
    auto* slider = namedSliders.add (new juce::Slider (name));
    keep = slider;
    slider->setRange (0.0, 100.0, 0.0);
    slider->setSliderStyle (juce::Slider::LinearVertical);
    slider->setComponentID ("In");
    slider->setValue (0.0, juce::sendNotificationAsync);
    slider->setLookAndFeel (&commandLook);
    lookAndFeelUsers.add (slider);
    presetBoard.addAndMakeVisible (slider);
}

//==================================================================================================
void StompvaleAudioProcessorEditor::buildParameterControls()
{
    for (auto* parameter : audioProcessor.getParameters())
    {
        auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
        const auto id = withId != nullptr ? withId->paramID : juce::String();
        const auto entriesBefore = controlList.size();

        if (auto* f = dynamic_cast<juce::AudioParameterFloat*> (parameter))
        {
            if (id.contains ("PEDAL"))
                addPedalKnob (*f);
            else if (id.equalsIgnoreCase ("volume"))
                addVolumeSlider (*f);
        }
        else if (auto* b = dynamic_cast<juce::AudioParameterBool*> (parameter))
        {
            if (id.contains ("PRESET_BUTTON"))
                addPresetButton (*b);
            else if (id.contains ("PEDAL"))
                addFootswitch (*b);
            else if (id.equalsIgnoreCase ("tuner") || id.equalsIgnoreCase ("presetboard"))
                addMainToggle (*b);
            else if (id.equalsIgnoreCase ("recordpreset"))
                addSaveToggle (*b);
        }
        else if (auto* i = dynamic_cast<juce::AudioParameterInt*> (parameter))
        {
            if (id == "currentBank")
            {
                addBankLabel (*i);
            }
            else if (id.contains ("PEDAL"))
            {
                if (id.contains ("BEFORE"))
                    addChainButtons (*i);

                // The chain positions are shown by the layout, not by a control; the label only
                // keeps the list aligned with the parameters. It is never shown.
                controlList.add (parameterLabels.add (new juce::Label (id, {})));
            }
        }

        // Entry j must stay the control of parameter j, so a parameter that gets no control
        // (unknown kind, or a label outside its range) holds the place with an empty entry,
        // which the timer and the listeners pass over.
        if (controlList.size() == entriesBefore)
            controlList.add (nullptr);
    }
}

void StompvaleAudioProcessorEditor::addPedalKnob (juce::AudioParameterFloat& parameter)
{
    const auto pedalNumber = parameter.getLabel().getIntValue();
    const auto knob = lastDigit (parameter.paramID);

    if (! juce::isPositiveAndBelow (pedalNumber, numPedals))
        return;

    auto& pedal = audioProcessor.pedalUnits[pedalNumber];

    if (! juce::isPositiveAndBelow (knob,
                                    juce::jmin ((int) pedal.numParams, pedalDefinition::maxKnobs))
        || pedal.knobParameters[knob] == nullptr)
        return;

    auto& knobParameter = *pedal.knobParameters[knob];
    auto* slider = knobSliders[pedalNumber].add (new juce::Slider (knobParameter.paramID));
    const auto& range = knobParameter.getNormalisableRange();
    slider->setRange (range.start, range.end, 0.0);
    slider->setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    slider->setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
    slider->setLookAndFeel (&pedalLook);
    lookAndFeelUsers.add (slider);
    slider->setComponentID (knobParameter.getName (1024)); // the knob's caption
    // Asynchronous on purpose: the change message arrives once the editor listens, and writes
    // back the value the parameter already holds, which changes nothing.
    slider->setValue (knobParameter.get(), juce::sendNotificationAsync);
    slider->addListener (this);
    slider->setMouseCursor (juce::MouseCursor::DraggingHandCursor);
    pedalFaces[pedalNumber].addAndMakeVisible (slider);
    controlList.add (slider);
}

void StompvaleAudioProcessorEditor::addVolumeSlider (juce::AudioParameterFloat& parameter)
{
    auto* slider = namedSliders.add (new juce::Slider (parameter.paramID));
    const auto& range = parameter.getNormalisableRange();
    slider->setRange (range.start, range.end, 0.0);
    slider->setSliderStyle (juce::Slider::LinearHorizontal);
    slider->setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
    slider->setComponentID (parameter.getName (1024));
    slider->setValue (parameter.get(), juce::sendNotificationAsync);
    slider->setMouseCursor (juce::MouseCursor::DraggingHandCursor);
    slider->addListener (this);
    slider->setColour (juce::Slider::thumbColourId, juce::Colour (volumeThumbColour));
    slider->setColour (juce::Slider::trackColourId, juce::Colour (volumeTrackColour));
    slider->setColour (juce::Slider::backgroundColourId, juce::Colour (volumeBackgroundColour));
    volumeCaption.setText ("Volume", juce::dontSendNotification);
    volumeCaption.attachToComponent (slider, true);
    contentComponent.addAndMakeVisible (slider);
    controlList.add (slider);
}

void StompvaleAudioProcessorEditor::addPresetButton (juce::AudioParameterBool& parameter)
{
    const auto presetNumber = parameter.getLabel().getIntValue();

    if (! juce::isPositiveAndBelow (presetNumber, StompvaleAudioProcessor::numPresets)
        || audioProcessor.presetButtonParameters[presetNumber] == nullptr)
        return;

    auto& presetParameter = *audioProcessor.presetButtonParameters[presetNumber];
    auto* button = presetButtons.add (new juce::ToggleButton (presetParameter.paramID));
    button->setToggleState (presetParameter.get(), juce::dontSendNotification);
    button->addListener (this);
    button->setButtonText (presetParameter.getName (1024));
    setBoardTextColours (*button);
    button->setLookAndFeel (&pedalLook);
    lookAndFeelUsers.add (button);
    presetPages[presetNumber / StompvaleAudioProcessor::presetsPerBank].addAndMakeVisible (button);
    button->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    controlList.add (button);
}

void StompvaleAudioProcessorEditor::addFootswitch (juce::AudioParameterBool& parameter)
{
    const auto pedalNumber = parameter.getLabel().getIntValue();

    if (! juce::isPositiveAndBelow (pedalNumber, numPedals)
        || audioProcessor.pedalUnits[pedalNumber].onOff == nullptr)
        return;

    auto& pedal = audioProcessor.pedalUnits[pedalNumber];
    auto* button =
        footswitchButtons[pedalNumber].add (new juce::ToggleButton (pedal.onOff->paramID));
    button->setToggleState (pedal.onOff->get(), juce::dontSendNotification);
    button->addListener (this);
    button->setButtonText (pedal.onOff->getName (1024));
    button->setLookAndFeel (&pedalLook);
    lookAndFeelUsers.add (button);
    // A pedal's knobs come before its switch, so the face gets its record with its knobs in place.
    pedalFaces[pedalNumber].pedal = &pedal;
    pedalFaces[pedalNumber].addAndMakeVisible (button);
    button->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    controlList.add (button);
}

void StompvaleAudioProcessorEditor::addMainToggle (juce::AudioParameterBool& parameter)
{
    auto* button = namedButtons.add (new juce::ToggleButton (parameter.paramID));
    const auto on = parameter.get();
    button->setToggleState (on, juce::dontSendNotification);
    button->addListener (this);
    button->setButtonText (parameter.getName (1024));

    if (parameter.paramID.equalsIgnoreCase ("tuner"))
        tunerSlider.setVisible (on);

    if (parameter.paramID.equalsIgnoreCase ("presetboard"))
        presetBoard.setVisible (on);

    button->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    lookAndFeelUsers.add (button);
    contentComponent.addAndMakeVisible (button);
    controlList.add (button);
}

void StompvaleAudioProcessorEditor::addSaveToggle (juce::AudioParameterBool& parameter)
{
    auto* button = namedButtons.add (new juce::ToggleButton (parameter.paramID));
    button->setToggleState (parameter.get(), juce::dontSendNotification);
    button->addListener (this);
    button->setButtonText (parameter.getName (1024));
    setBoardTextColours (*button);
    button->setLookAndFeel (&pedalLook);
    lookAndFeelUsers.add (button);
    button->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    presetBoard.addAndMakeVisible (button);
    controlList.add (button);
}

void StompvaleAudioProcessorEditor::addBankLabel (juce::AudioParameterInt& parameter)
{
    auto* label = parameterLabels.add (new juce::Label (parameter.paramID, {}));
    bankLabel = label;
    label->setText (bankLetterFor (parameter.get()), juce::dontSendNotification);
    label->setLookAndFeel (&pedalLook);
    lookAndFeelUsers.add (label);
    controlList.add (label);
    presetBoard.addAndMakeVisible (label);
    label->setBounds (bankLabelBounds);
}

void StompvaleAudioProcessorEditor::addChainButtons (juce::AudioParameterInt& parameter)
{
    const auto slot = parameter.getLabel().getIntValue();

    if (! juce::isPositiveAndBelow (slot, numSlots))
        return;

    // Buttons are numbered 1 to 6 while the positions are 0 to 5.
    const auto number = juce::String (slot + 1);
    auto* previous = slotButtons.previous[slot].add (new juce::ToggleButton ("PREVB" + number));
    auto* next = slotButtons.next[slot].add (new juce::ToggleButton ("NEXTB" + number));
    auto* change = slotButtons.change[slot].add (new juce::ToggleButton ("CHANGEB" + number));

    change->addListener (this);
    previous->addListener (this);
    next->addListener (this);
    previous->setToggleState (false, juce::dontSendNotification);
    change->setToggleState (false, juce::dontSendNotification);
    next->setToggleState (false, juce::dontSendNotification);

    change->setLookAndFeel (&changesLook);
    previous->setLookAndFeel (&previousLook);
    next->setLookAndFeel (&nextLook);
    lookAndFeelUsers.add (previous);
    lookAndFeelUsers.add (change);
    lookAndFeelUsers.add (next);

    // Children 0 to 2 of the position; the layout puts the face after them.
    auto& container = slotContainers[slot];
    container.addAndMakeVisible (previous);
    container.addAndMakeVisible (next);
    container.addAndMakeVisible (change);

    next->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    change->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    previous->setMouseCursor (juce::MouseCursor::PointingHandCursor);

    if (slot < numSlots - 1)
    {
        auto* swap = slotButtons.swap[slot].add (new juce::ToggleButton ("SWAPB" + number));
        swap->addListener (this);
        swap->setToggleState (false, juce::dontSendNotification);
        swap->setLookAndFeel (&swapLook);
        swap->setMouseCursor (juce::MouseCursor::PointingHandCursor);
        lookAndFeelUsers.add (swap);
        chainArea.addAndMakeVisible (swap);
    }

    chainArea.addAndMakeVisible (container);

    if (const auto pedalNumber = parameter.get(); juce::isPositiveAndBelow (pedalNumber, numPedals))
        container.addAndMakeVisible (pedalFaces[pedalNumber]);
}

//==================================================================================================
juce::String StompvaleAudioProcessorEditor::bankLetterFor (int bank)
{
    const juce::String letters (bankLetters);

    if (bank <= 0)
        return letters.substring (0, 1);

    if (bank >= letters.length())
        return {};

    return letters.substring (bank, bank + 1);
}

int StompvaleAudioProcessorEditor::pageForBank (int bank) noexcept
{
    // The bank parameter admits 3 (and a host may send anything), but only banks A to C have
    // preset buttons: any other bank shows an empty board rather than another bank's buttons.
    return juce::isPositiveAndBelow (bank, numBanks) ? bank : -1;
}

int StompvaleAudioProcessorEditor::bankValue() const
{
    if (audioProcessor.bankParameter == nullptr)
        return 0;

    return juce::roundToInt (StompvaleAudioProcessor::naturalValue (*audioProcessor.bankParameter));
}

int StompvaleAudioProcessorEditor::chainPosition (int slot) const
{
    if (auto* parameter = audioProcessor.slotParameters[slot])
        return juce::roundToInt (StompvaleAudioProcessor::naturalValue (*parameter));

    return -1;
}

int StompvaleAudioProcessorEditor::frameHeight() const
{
    return presetBoard.isVisible() ? frameHeightWithBoard : frameHeightWithoutBoard;
}

juce::AffineTransform StompvaleAudioProcessorEditor::frameTransform (float scale) const
{
    // Frame sizes are truncated; the tiny bias keeps float noise in scale x width (for example
    // 1285 x (1000 / 1285) = 999.99994) from costing a whole pixel, which would make every
    // resized pass shrink the window a little further.
    const auto scaledWidth = (int) ((float) frameWidth * scale + 1.0e-3f);
    const auto scaledHeight = (int) ((float) frameHeight() * scale + 1.0e-3f);
    const auto tx = (float) (getWidth() - scaledWidth) * 0.5f;
    const auto ty = (float) (getHeight() - scaledHeight) * 0.5f;
    return juce::AffineTransform::scale (scale).translated (tx, ty);
}

//==================================================================================================
void StompvaleAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (backgroundColour));

    const auto w = (float) getWidth();
    const auto h = (float) getHeight();

    if (w <= 0.0f || h <= 0.0f)
        return;

    const auto scale = juce::jmin (w / (float) frameWidth, h / (float) frameHeight());
    g.addTransform (frameTransform (scale));

    // Resampled once; later paints draw the kept copy at its own size.
    if (boardBackgroundImage.getWidth() != floorWidth
        || boardBackgroundImage.getHeight() != floorHeight)
        boardBackgroundImage = boardBackgroundImage.rescaled (
            floorWidth, floorHeight, juce::Graphics::highResamplingQuality);

    g.drawImageAt (boardBackgroundImage, 0, 0);

    g.setFont (juce::Font (16.0f, juce::Font::plain));
    g.drawImageAt (makerWordmarkImage, wordmarkX, wordmarkY);

    g.setColour (juce::Colour (tunerBarColour));
    g.fillRect (tunerBarBounds);

    g.setColour (juce::Colour (whitesmoke));
    g.drawFittedText ("V" + juce::String (JucePlugin_VersionString), versionTextBounds,
                      juce::Justification::centredRight, 1);

    // Setting the same values again changes nothing, so repeating this on every paint is cheap.
    websiteLink.setBounds (websiteLinkBounds);
    websiteLink.setButtonText ("Visit " + juce::String (websiteDomain));
    donationLink.setBounds (donationLinkBounds);
    donationLink.setButtonText ("Pay me a beer");

    // The links were built holding their addresses (see the constructor), so these assign only
    // if something changed them. Compared as text: URL's own comparison has the same unguarded
    // memory-block access.
    for (auto [link, url] :
         { std::pair (&websiteLink, websiteUrl()), std::pair (&donationLink, donationUrl()) })
        if (link->getURL().toString (true) != url.toString (true))
            link->setURL (url);

    for (auto* link : { &websiteLink, &donationLink })
    {
        link->setJustificationType (juce::Justification::centredRight);
        link->setColour (juce::HyperlinkButton::textColourId, juce::Colour (whitesmoke));
    }
}

void StompvaleAudioProcessorEditor::resized()
{
    layOutPresetPages();
    layOutPedalFaces();
    layOutChain();
    layOutNamedControls();

    const auto w = getWidth();

    if (w <= 0)
        return;

    // The width sets the scale; the height follows the frame's aspect ratio. When the bounds
    // below change the size, the framework calls resized again, which then finds them in ratio.
    const auto scale = (float) w / (float) frameWidth;
    contentComponent.setTransform (frameTransform (scale));
    setBounds (getX(), getY(), (int) ((float) frameWidth * scale + 1.0e-3f),
               (int) ((float) frameHeight() * scale + 1.0e-3f));
}

void StompvaleAudioProcessorEditor::layOutPresetPages()
{
    for (int b = 0; b < numBanks; ++b)
    {
        auto& page = presetPages[b];

        if (page.getParentComponent() == &presetBoard)
            presetBoard.removeChildComponent (&page);

        page.setBounds (presetPageBounds);

        for (int i = 0; i < StompvaleAudioProcessor::presetsPerBank; ++i)
        {
            if (auto* button = presetButtons[b * StompvaleAudioProcessor::presetsPerBank + i])
                button->setBounds (presetColumnPitch * (i % presetsPerRow),
                                   presetButtonSize * (i / presetsPerRow), presetButtonSize,
                                   presetButtonSize);
        }
    }

    if (const auto page = pageForBank (bankValue()); page >= 0)
    {
        presetPages[page].setVisible (true);
        presetBoard.addAndMakeVisible (presetPages[page]);
    }
}

void StompvaleAudioProcessorEditor::layOutPedalFaces()
{
    for (int t = 0; t < numPedals; ++t)
    {
        const auto n = knobSliders[t].size();

        if (n <= 2)
            pedalFaces[t].setBounds (40, 40, 140, 300);
        else if (n <= 4)
            pedalFaces[t].setBounds (25, 40, 170, 300);
        else
            pedalFaces[t].setBounds (10, 40, 200, 300);

        int col = 0, row = 0;

        for (auto* knob : knobSliders[t])
        {
            if (n <= 4)
            {
                // Two knobs a row (one with only two knobs); a third knob sits centred below.
                auto x = col * 70 + (n <= 2 ? 30 : 10);
                auto y = row * 70 + 10;

                if (n == 3 && row == 1)
                {
                    x = col * 70 + 45;
                    y = 80;
                }

                knob->setBounds (x, y, knobWidth, knobHeight);

                if (col > 0 || n <= 2)
                {
                    ++row;
                    col = 0;
                }
                else
                {
                    ++col;
                }
            }
            else
            {
                // Five knobs: two, one in the middle, two.
                if (row == 1)
                    knob->setBounds (col * 100 + 60, 50, knobWidth, knobHeight);
                else
                    knob->setBounds (col * 100 + 10, row * 50, knobWidth, knobHeight);

                if (row == 1 || col > 0)
                {
                    ++row;
                    col = 0;
                }
                else
                {
                    ++col;
                }
            }
        }

        const auto footswitchX = n <= 2 ? 35 : (n <= 4 ? 50 : 65);

        for (auto* footswitch : footswitchButtons[t])
            footswitch->setBounds (footswitchX, footswitchY, footswitchSize, footswitchSize);
    }
}

void StompvaleAudioProcessorEditor::layOutChain()
{
    for (int k = 0; k < numSlots; ++k)
    {
        auto& container = slotContainers[k];
        const auto pedalNumber = chainPosition (k);

        // Take the previous face out; only the three buttons stay.
        while (container.getNumChildComponents() > chainButtonCount)
            container.removeChildComponent (chainButtonCount);

        if (k < numSlots - 1)
            for (auto* swap : slotButtons.swap[k])
                swap->setBounds (swapButtonX + slotPitch * k, swapButtonY, swapButtonSize,
                                 swapButtonSize);

        // A face has one parent: a pedal named by two positions moves to the later one.
        if (juce::isPositiveAndBelow (pedalNumber, numPedals))
        {
            pedalFaces[pedalNumber].setVisible (true);
            container.addAndMakeVisible (pedalFaces[pedalNumber]);
        }

        for (auto* previous : slotButtons.previous[k])
            previous->setBounds (previousButtonBounds);

        container.setBounds (slotX + slotPitch * k, slotY, slotWidth, slotHeight);

        for (auto* next : slotButtons.next[k])
            next->setBounds (nextButtonBounds);

        for (auto* change : slotButtons.change[k])
            change->setBounds (changeButtonBounds);
    }
}

void StompvaleAudioProcessorEditor::layOutNamedControls()
{
    // Matched by the whole name, case included; anything else stays where it is.
    const auto place = [] (juce::Component& control) {
        for (const auto& named : namedPlaces)
        {
            if (control.getName() == named.name)
            {
                control.setBounds (named.bounds);
                return;
            }
        }
    };

    for (auto* slider : namedSliders)
        place (*slider);

    for (auto* button : namedButtons)
        place (*button);
}

//==================================================================================================
void StompvaleAudioProcessorEditor::timerCallback()
{
    // Cleared before the layout pass, so a raise that lands during it is seen at the next tick.
    if (stateRestored.exchange (false, std::memory_order_relaxed))
        resized();

    const auto noteName = audioProcessor.tunerNoteName.get();

    if (tunerSlider.getName() != noteName)
    {
        tunerSlider.setName (noteName);
        tunerSlider.repaint(); // the look draws the name, and a new name alone repaints nothing
    }

    tunerSlider.setValue (audioProcessor.tunerDeviation.load(), juce::dontSendNotification);

    if (levelInSlider != nullptr)
        levelInSlider->setValue (audioProcessor.inputLevel.load(), juce::dontSendNotification);

    if (levelOutSlider != nullptr)
        levelOutSlider->setValue (audioProcessor.outputLevel.load(), juce::dontSendNotification);

    const auto& parameters = audioProcessor.getParameters();
    const auto count = juce::jmin (controlList.size(), parameters.size());

    for (int j = 0; j < count; ++j)
    {
        auto* control = controlList.getUnchecked (j);

        if (control == nullptr)
            continue;

        const auto value = plainValue (*parameters.getUnchecked (j));

        if (auto* label = dynamic_cast<juce::Label*> (control))
        {
            if (label->getName() != "currentBank")
                continue;

            const auto bank = juce::roundToInt (value);
            label->setText (bankLetterFor (bank), juce::dontSendNotification);

            if (bank != shownBank)
            {
                shownBank = bank;
                resized();
            }
        }
        else if (auto* slider = dynamic_cast<juce::Slider*> (control))
        {
            slider->setValue (value, juce::dontSendNotification);
        }
        else if (auto* button = dynamic_cast<juce::Button*> (control))
        {
            button->setToggleState (value >= 0.5f, juce::dontSendNotification);
        }
    }
}

void StompvaleAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    const auto j = controlList.indexOf (slider);
    const auto& parameters = audioProcessor.getParameters();

    if (j < 0 || j >= parameters.size())
        return;

    if (auto* parameter = dynamic_cast<juce::AudioParameterFloat*> (parameters.getUnchecked (j)))
        *parameter = (float) slider->getValue(); // sent to the host only when it differs
}

void StompvaleAudioProcessorEditor::comboBoxChanged (juce::ComboBox*) {}

void StompvaleAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    const auto j = controlList.indexOf (button);
    const auto& parameters = audioProcessor.getParameters();

    if (j >= 0 && j < parameters.size())
    {
        if (auto* parameter = dynamic_cast<juce::AudioParameterBool*> (parameters.getUnchecked (j)))
        {
            const auto state = button->getToggleState();
            *parameter = state; // sent to the host only when it differs
            const auto& name = button->getName();

            if (name == "presetboard")
            {
                presetBoard.setVisible (state);

                if (presetBoard.isVisible() != presetBoardShown)
                    resized();

                presetBoardShown = presetBoard.isVisible();
            }

            if (name == "tuner")
                tunerSlider.setVisible (parameter->get());

            return;
        }
    }

    const auto& name = button->getName();

    if (name.contains ("NEXTB") || name.contains ("PREVB"))
    {
        stepChainPosition (lastDigit (name) - 1, name.contains ("NEXT") ? 1 : -1);
        resized();
    }

    if (name.contains ("SWAPB"))
    {
        swapChainPositions (lastDigit (name) - 1);
        resized();
    }

    if (name.contains ("CHANGEB"))
    {
        emptyChainPosition (lastDigit (name) - 1);
        resized();
    }

    if (name.contains ("bankUp"))
    {
        stepBank (1);
        resized();
    }

    if (name.contains ("bankDown"))
    {
        stepBank (-1);
        resized();
    }
}

//==================================================================================================
void StompvaleAudioProcessorEditor::stepChainPosition (int slot, int step)
{
    if (! juce::isPositiveAndBelow (slot, numSlots)
        || audioProcessor.slotParameters[slot] == nullptr)
        return;

    int taken[numSlots];

    for (int s = 0; s < numSlots; ++s)
        taken[s] = chainPosition (s);

    const auto current = taken[slot];

    // The nearest pedal in the step's direction that no position holds, wrapping around the 24.
    for (int d = 1; d < numPedals; ++d)
    {
        auto candidate = current + step * d;

        if (candidate > numPedals - 1)
            candidate -= numPedals;

        if (candidate < 0)
            candidate += numPedals;

        if (std::find (std::begin (taken), std::end (taken), candidate) != std::end (taken))
            continue;

        if (candidate != current)
            *audioProcessor.slotParameters[slot] = candidate;

        return;
    }
}

void StompvaleAudioProcessorEditor::swapChainPositions (int leftSlot)
{
    if (! juce::isPositiveAndBelow (leftSlot, numSlots - 1)
        || audioProcessor.slotParameters[leftSlot] == nullptr
        || audioProcessor.slotParameters[leftSlot + 1] == nullptr)
        return;

    const auto left = chainPosition (leftSlot);
    const auto right = chainPosition (leftSlot + 1);
    *audioProcessor.slotParameters[leftSlot] = right;
    *audioProcessor.slotParameters[leftSlot + 1] = left;
}

void StompvaleAudioProcessorEditor::emptyChainPosition (int slot)
{
    if (! juce::isPositiveAndBelow (slot, numSlots)
        || audioProcessor.slotParameters[slot] == nullptr)
        return;

    if (chainPosition (slot) != -1)
        *audioProcessor.slotParameters[slot] = -1;
}

void StompvaleAudioProcessorEditor::stepBank (int direction)
{
    if (audioProcessor.bankParameter == nullptr)
        return;

    // Cycles through the three banks that have pages; from 3 it steps back into them.
    const auto bank = bankValue();
    int newBank;

    if (direction > 0)
        newBank = bank < numBanks - 1 ? bank + 1 : bank - (numBanks - 1);
    else
        newBank = bank > 0 ? bank - 1 : bank + (numBanks - 1);

    *audioProcessor.bankParameter = newBank;
}
