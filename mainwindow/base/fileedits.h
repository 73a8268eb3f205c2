#pragma once

#include "channelcodec.h"
#include "memoryframe.h"

#include <QString>

namespace qx {

// The only way the channel grid and the settings panel change the working file. The window
// implements it, so every store passes one place it controls. Each call stores at once and
// throws qx::Error when it cannot; the calling handler's guard shows the error and the part
// keeps its controls as they stand (a grid cell stays current, the power label stays).
// A load never calls it.
class FileEdits {
public:
    // The user finished editing channel n (1..16): its two records are stored, then the
    // whole working file is loaded back into the window.
    virtual void commitChannel(int channel, const ChannelCells &cells) = 0;
    // Channel n now holds these cells: its two records are stored, nothing is reloaded.
    virtual void storeChannel(int channel, const ChannelCells &cells) = 0;
    // Record 0..34 now holds this frame: a settings block, or a channel half moved whole.
    virtual void storeRecord(int record, const MemoryFrame &frame) = 0;
    // A model or band change: every channel shows and stores this frequency on both sides,
    // tones off and flags off (the grid's brush_StringGrid, one storeChannel per row).
    virtual void resetChannels(const QString &frequency) = 0;

    // One user action that stores several times (a band or model change) is taken back
    // as a whole: the stores between begin and end make one undo step.
    virtual void beginStep() = 0;
    virtual void endStep() noexcept = 0;
    class Step {
    public:
        explicit Step(FileEdits &edits) : m_edits(edits) { m_edits.beginStep(); }
        ~Step() { m_edits.endStep(); }
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        FileEdits &m_edits;
    };

protected:
    ~FileEdits() = default;
};

} // namespace qx
