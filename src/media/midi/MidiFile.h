#pragma once
// The structure of a standard MIDI file, read and checked event by event before a synthesiser
// is given the bytes: header chunk, track chunks, every event's length. A RIFF "RMID" file holds
// a standard MIDI file in its "data" chunk.
#include <cstddef>
#include <cstdint>
#include <span>

struct MidiFileInfo {
    std::uint16_t format = 0;   // 0: one track, 1: simultaneous tracks, 2: independent tracks
    std::uint16_t tracks = 0;   // track chunks found
    std::uint16_t division = 0; // ticks per quarter note
    std::uint64_t events = 0;
    std::span<const std::byte> smf; // the standard MIDI file itself, without a RIFF wrapper
};

// Raises code 9 when a chunk or an event runs past the data, and code 5 for what is not a
// standard MIDI file that can be played (no "MThd", an unknown format, a time-code division, an
// event that no status byte begins).
MidiFileInfo ReadMidiFile(std::span<const std::byte> bytes);
