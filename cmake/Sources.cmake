# Every source of the plug-in, listed by name.

set (STOMPVALE_ENGINE_SOURCES
    engine/StompvaleAudioProcessor.cpp
    engine/StompvaleAudioProcessorState.cpp
    engine/Pedal.cpp
    engine/presets/ParameterSetXml.cpp
    engine/presets/PresetFile.cpp
    engine/presets/UntrustedXml.cpp
    engine/dsp/OnePoleFilter.cpp
    engine/dsp/TransferCurve.cpp
    engine/dsp/Waveshaper.cpp
    engine/dsp/BiquadCascade.cpp
    engine/dsp/Decimator.cpp
    engine/effects/ChorusTremolo.cpp
    engine/effects/Compressor.cpp
    engine/effects/Delay.cpp
    engine/effects/DigitalReverb.cpp
    engine/effects/Drives.cpp
    engine/tuner/RealFft.cpp
    engine/tuner/TunerEngine.cpp)
list (TRANSFORM STOMPVALE_ENGINE_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/../")

set (STOMPVALE_EDITOR_SOURCES
    editor/StompvaleAudioProcessorEditor.cpp
    editor/EmbeddedResources.cpp
    editor/components/PedalContainerComponent.cpp
    editor/components/PedalNewComponent.cpp
    editor/components/PresetContainerComponent.cpp
    editor/looks/ChainButtonIcon.cpp
    editor/looks/ChangesLookAndFeel.cpp
    editor/looks/CommandLookAndFeel.cpp
    editor/looks/NextLookAndFeel.cpp
    editor/looks/PedalLookAndFeel.cpp
    editor/looks/PreviousLookAndFeel.cpp
    editor/looks/SwapLookAndFeel.cpp
    editor/looks/TunerLookAndFeel.cpp)
list (TRANSFORM STOMPVALE_EDITOR_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/../")
