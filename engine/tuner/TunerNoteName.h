#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

/** The tuner's note name as the audio thread publishes it: an index into the twelve constant
    names, so that a reader on another thread always sees one whole name and the audio thread
    never builds or releases a string. Index -1 is the empty reading before the first detection. */
class TunerNoteName
{
public:
    static constexpr int numNames = 12;

    /** The names in note-table order: note k of the table is called names[k mod 12]. */
    static constexpr const char* names[numNames] = { "B", "C",  "C#", "D",  "Eb", "E",
                                                     "F", "F#", "G",  "G#", "A",  "Bb" };

    /** Audio thread: publishes the name of note-table entry noteIndex, or clears it for -1. */
    void setNote (int noteIndex) noexcept
    {
        index.store (noteIndex < 0 ? -1 : noteIndex % numNames, std::memory_order_relaxed);
    }

    /** Any thread: the published name's index into names, or -1 while empty. */
    int getNameIndex() const noexcept { return index.load (std::memory_order_relaxed); }

    /** Any thread: the published name, one of names or empty. Allocates: not for the audio
        thread. */
    juce::String get() const
    {
        const auto i = getNameIndex();
        return i < 0 ? juce::String() : juce::String (names[i]);
    }

    bool isEmpty() const noexcept { return getNameIndex() < 0; }

private:
    std::atomic<int> index { -1 };
};
