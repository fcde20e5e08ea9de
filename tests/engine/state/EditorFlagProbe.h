#pragma once

#include "editor/StompvaleAudioProcessorEditor.h"

namespace state_testing
{
/** Opens the processor's editor as a wrapper does and closes it again the same way: the wrapper
    tells the processor before it deletes the editor. Message thread. */
class OpenEditor
{
public:
    explicit OpenEditor (StompvaleAudioProcessor& p)
        : processor (p),
          editor (dynamic_cast<StompvaleAudioProcessorEditor*> (p.createEditorIfNeeded()))
    {
        if (editor != nullptr)
            editor->stateRestored = false;
    }

    ~OpenEditor()
    {
        if (editor != nullptr)
        {
            processor.editorBeingDeleted (editor);
            delete editor;
        }
    }

    bool flagRaised() const { return editor != nullptr && editor->stateRestored.load(); }
    void lowerFlag() { editor->stateRestored = false; }

    StompvaleAudioProcessor& processor;
    StompvaleAudioProcessorEditor* editor;

    JUCE_DECLARE_NON_COPYABLE (OpenEditor)
};
} // namespace state_testing
