#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

// Run under ThreadSanitizer in CI: the editor's timer copies the note name and reads the deviation
// on the message thread while the render thread's tuner step replaces them.

TEST (TunerConcurrency, ReaderCopiesTheReadingWhileTunerBlocksRun)
{
    auto processor = testing_helpers::makeProcessor (1, 2, 48000.0, 256);
    auto& p = *processor;
    testing_helpers::setOn (*p.tunerParameter, true);

    std::atomic<bool> done { false };
    std::atomic<int> badNames { 0 };
    std::atomic<int> badDeviations { 0 };
    std::atomic<int> reads { 0 };

    std::thread reader ([&] {
        while (! done.load())
        {
            const juce::String name = p.tunerNoteName.get();
            bool known = name.isEmpty();
            for (auto* candidate : TunerNoteName::names)
                known = known || name == candidate;
            if (! known)
                ++badNames;

            const float deviation = p.tunerDeviation.load();
            if (! (deviation >= -50.0f && deviation <= 50.0f))
                ++badDeviations;

            ++reads;
            std::this_thread::yield();
        }
    });

    // E2, then A2, then D3, long enough for the smoothed spectrum to follow each change.
    juce::AudioBuffer<float> buffer (2, 256);
    double phase = 0.0;
    int namesSeen = 0;
    int lastIndex = -2;
    for (const double frequency : { 82.4069, 110.0, 146.8324 })
    {
        for (int block = 0; block < 250; ++block)
        {
            for (int i = 0; i < 256; ++i)
            {
                buffer.setSample (0, i, 0.5f * (float) std::sin (phase));
                phase = std::fmod (phase + 2.0 * 3.14159265358979 * frequency / 48000.0,
                                   2.0 * 3.14159265358979);
            }
            testing_helpers::process (p, buffer);

            const int index = p.tunerNoteName.getNameIndex();
            if (index != lastIndex)
            {
                ++namesSeen;
                lastIndex = index;
            }
        }
    }

    done = true;
    reader.join();

    EXPECT_EQ (badNames.load(), 0);
    EXPECT_EQ (badDeviations.load(), 0);
    EXPECT_GT (reads.load(), 0);
    EXPECT_GE (namesSeen, 3) << "the name should have changed while the reader ran";
    EXPECT_EQ (p.tunerNoteName.get(), "D");
}
