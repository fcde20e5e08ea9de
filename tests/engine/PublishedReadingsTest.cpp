#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The editor's timer reads the meters and the tuner reading while the render thread writes
// them; these run under ThreadSanitizer in CI.

TEST (PublishedReadingsConcurrency, ReaderAlwaysSeesOneWholeNoteName)
{
    TunerNoteName name;
    std::atomic<bool> done { false };
    std::atomic<int> badReads { 0 };

    std::thread reader ([&] {
        while (! done.load())
        {
            const auto text = name.get();
            bool known = text.isEmpty();
            for (auto* candidate : TunerNoteName::names)
                known = known || text == candidate;
            if (! known)
                ++badReads;
        }
    });

    for (int i = 0; i < 200000; ++i)
        name.setNote (i % 55);

    done = true;
    reader.join();
    EXPECT_EQ (badReads.load(), 0);
    EXPECT_EQ (name.get(), TunerNoteName::names[(199999 % 55) % 12]);
}

TEST (PublishedReadingsConcurrency, MetersAreReadWhileBlocksRun)
{
    auto processor = testing_helpers::makeProcessor (1, 2, 48000.0, 64);
    auto& p = *processor;
    std::atomic<bool> done { false };
    float maxSeen = 0.0f;

    std::thread reader ([&] {
        while (! done.load())
            maxSeen = juce::jmax (maxSeen, p.inputLevel.load(), p.outputLevel.load(),
                                  p.tunerDeviation.load());
    });

    juce::AudioBuffer<float> buffer (2, 64);
    for (int block = 0; block < 2000; ++block)
    {
        buffer.clear();
        buffer.setSample (0, block % 64, 0.5f);
        testing_helpers::process (p, buffer);
    }

    done = true;
    reader.join();
    EXPECT_LE (maxSeen, 100.0f);
}

TEST (TunerNoteNameTest, IndexesIntoTheTwelveNames)
{
    TunerNoteName name;
    EXPECT_TRUE (name.isEmpty());
    EXPECT_TRUE (name.get().isEmpty());
    name.setNote (46); // A4
    EXPECT_EQ (name.get(), "A");
    name.setNote (0); // B0
    EXPECT_EQ (name.get(), "B");
    name.setNote (54); // F5
    EXPECT_EQ (name.get(), "F");
    name.setNote (-1);
    EXPECT_TRUE (name.isEmpty());
}
