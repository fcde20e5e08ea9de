// The editor's refresh runs on the message thread while the render thread (meters, tuner, preset
// loads) and the host's threads (automation, state restore) write what it reads. Run under
// ThreadSanitizer by tools/test.sh.

#include "tests/editor/EditorTestAccess.h"

#include <atomic>
#include <thread>

using namespace editor_testing;

using EditorConcurrency = EditorTest;

TEST_F (EditorConcurrency, TimerReadsWhatOtherThreadsWrite)
{
    auto& e = openEditor();
    std::atomic<bool> stop { false };

    // Stands in for the render thread and a host thread: readings, chain and bank automation,
    // and the "look again" flag of a preset load or state restore.
    std::thread writer ([&] {
        for (int i = 0; ! stop.load(); ++i)
        {
            processor->inputLevel = (float) (i % 100);
            processor->outputLevel = (float) ((i * 7) % 100);
            processor->tunerDeviation = (float) (i % 101 - 50);
            processor->tunerNoteName.setNote (i % 55);
            processor->slotParameters[i % 6]->setValueNotifyingHost (
                processor->slotParameters[i % 6]->convertTo0to1 ((float) (i % 25 - 1)));
            processor->bankParameter->setValueNotifyingHost (
                processor->bankParameter->convertTo0to1 ((float) (i % 4)));
            e.stateRestored.store (true, std::memory_order_relaxed);
        }
    });

    for (int tick = 0; tick < 200; ++tick)
        Access::tick (e);

    stop = true;
    writer.join();

    // Whatever the interleaving, a last raise is consumed by one more tick, the faces sit only
    // in positions that name them, and the board shows at most one page.
    e.stateRestored = true;
    Access::tick (e);
    EXPECT_FALSE (e.stateRestored.load());

    for (int k = 0; k < 6; ++k)
    {
        const auto pedal = slotValue (k);
        auto* face = faceIn (k);

        if (face != nullptr)
        {
            EXPECT_EQ (face, &Access::face (e, pedal)) << "position " << k;
        }
    }

    int pagesShown = 0;

    for (int b = 0; b < 3; ++b)
        if (Access::presetPage (e, b).getParentComponent() != nullptr)
            ++pagesShown;

    EXPECT_EQ (pagesShown, processor->bankParameter->get() < 3 ? 1 : 0);
}
