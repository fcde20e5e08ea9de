#pragma once

/** Memoryless distortion mapping every sample through a 65,536-entry transfer table, entry i
    standing for the input i / 32768 - 1, with linear interpolation between entries.
    Plain record owned by value by its drive; audio thread only. */
struct Waveshaper
{
    static constexpr int tableSize = 65536;

    const float* tableA = nullptr;
    const float* tableB = nullptr;
    const float* currentTable = nullptr; /**< null makes process() do nothing */
    bool hysteresis = false;             /**< table-switching mode; never used on this board */
    bool onTableA = true;

    /** Points all three tables at the given one and switches the switching mode off. */
    void setTable (const float* table) noexcept
    {
        tableA = tableB = currentTable = table;
        hysteresis = false;
        onTableA = true;
    }

    /** Maps numSamples samples in place; nothing happens for numSamples <= 0 or without a table. */
    void process (float* samples, int numSamples) noexcept;
};
