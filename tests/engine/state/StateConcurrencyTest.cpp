#include "StateTestHelpers.h"

#include "EditorFlagProbe.h"

#include <atomic>
#include <thread>

// Host state calls, the render thread's preset manager and the editor's life, each on its own
// thread. These run under ThreadSanitizer in CI.

namespace
{
using namespace state_testing;

/** Runs blocks on a thread of its own, holding the callback lock as the wrappers do. */
class RenderThread
{
public:
    explicit RenderThread (StompvaleAudioProcessor& p)
        : thread ([this, &p] {
              juce::AudioBuffer<float> buffer (2, 64);
              while (! done)
              {
                  buffer.clear();
                  const juce::ScopedLock block (p.getCallbackLock());
                  testing_helpers::process (p, buffer);
              }
          })
    {
    }

    ~RenderThread()
    {
        done = true;
        thread.join();
    }

private:
    std::atomic<bool> done { false };
    std::thread thread;
};
} // namespace

TEST (StateConcurrency, RestoresAndPresetSelectionsWhileBlocksRun)
{
    TemporaryHome home;
    ASSERT_TRUE (home.isInUse());
    auto processor = testing_helpers::makeProcessor();
    auto& p = *processor;
    auto source = testing_helpers::makeProcessor();

    {
        RenderThread render (p);
        juce::Random random (1);

        for (int i = 0; i < 120; ++i)
        {
            for (auto* button : source->presetButtonParameters)
                testing_helpers::setOn (*button, false);
            testing_helpers::setOn (*source->presetButtonParameters[random.nextInt (30)], true);
            testing_helpers::setOn (*source->recordPresetParameter, i % 3 == 0);
            source->volumeParameter->setValueNotifyingHost (random.nextFloat());

            juce::MemoryBlock block;
            source->getStateInformation (block);
            p.setStateInformation (block.getData(), (int) block.getSize());

            // The editor's buttons, as a user clicks them.
            testing_helpers::setOn (*p.presetButtonParameters[random.nextInt (30)], true);
            testing_helpers::setOn (*p.recordPresetParameter, i % 5 == 0);
            p.getStateInformation (block);
        }
    }

    int on = 0;
    for (auto* button : p.presetButtonParameters)
        on += button->get() ? 1 : 0;
    EXPECT_LE (on, 2) << "the manager keeps at most one button on, a click may add one";
    EXPECT_TRUE (p.presetIndex >= 0 && p.presetIndex < 30);
}

TEST (StateConcurrency, EditorFlagIsRaisedWhileEditorsOpenAndClose)
{
    TemporaryHome home;
    ASSERT_TRUE (home.isInUse());
    auto processor = testing_helpers::makeProcessor();
    auto& p = *processor;

    juce::MemoryBlock block;
    p.getStateInformation (block);
    std::atomic<bool> done { false };

    std::thread host ([&] {
        while (! done)
            p.setStateInformation (block.getData(), (int) block.getSize());
    });

    int raised = 0;
    for (int i = 0; i < 40; ++i)
    {
        OpenEditor editor (p); // this thread is the message thread
        ASSERT_NE (editor.editor, nullptr);

        // The first few editors stay until a restore has reached them; the rest come and go.
        const auto patience = std::chrono::milliseconds (i < 5 ? 5000 : 1);
        const auto until = std::chrono::steady_clock::now() + patience;
        while (! editor.flagRaised() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));

        raised += editor.flagRaised() ? 1 : 0;
    }

    done = true;
    host.join();
    EXPECT_GT (raised, 0);
}

TEST (StateConcurrency, HostResetsWhileBlocksRun)
{
    auto processor = testing_helpers::makeProcessor();
    auto& p = *processor;

    // A reverb and a delay in the chain, so that every block writes the memories reset() clears.
    for (const int pedal : { 1, 3 })
        testing_helpers::setOn (*p.pedalUnits[pedal].onOff, true);
    testing_helpers::setNatural (*p.slotParameters[0], 1.0f);
    testing_helpers::setNatural (*p.slotParameters[1], 3.0f);

    {
        RenderThread render (p);

        // The host's thread, as the VST3 wrapper calls reset() when processing stops.
        for (int i = 0; i < 200; ++i)
            p.reset();
    }
}
