#include "media/midi/MidiFile.h"

#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <algorithm>
#include <cstring>

namespace {
bool IsTag(std::span<const std::byte> four, const char *tag) {
    return std::memcmp(four.data(), tag, 4) == 0;
}

// Chunk lengths in a standard MIDI file are big-endian, unlike everything in a Windows file.
std::uint32_t BigEndian32(ByteReader &r) {
    const std::uint32_t b0 = r.u8(), b1 = r.u8(), b2 = r.u8(), b3 = r.u8();
    return b0 << 24 | b1 << 16 | b2 << 8 | b3;
}
std::uint16_t BigEndian16(ByteReader &r) {
    const std::uint16_t hi = r.u8();
    return static_cast<std::uint16_t>(hi << 8 | r.u8());
}

// A variable-length quantity: seven bits a byte, the high bit set on all but the last; at most
// four bytes (28 bits).
std::uint32_t VarLen(ByteReader &r) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = r.u8();
        value = value << 7 | (b & 0x7Fu);
        if ((b & 0x80u) == 0) return value;
    }
    ErrorReport::invalidArgument();
}

// Data bytes that follow a channel status byte.
int ChannelDataBytes(std::uint8_t status) {
    switch (status & 0xF0u) {
    case 0xC0:
    case 0xD0:
        return 1;
    default:
        return 2;
    }
}

std::uint64_t CheckTrack(ByteReader track) {
    std::uint64_t events = 0;
    std::uint8_t running = 0;
    while (!track.atEnd()) {
        VarLen(track); // delta time
        std::uint8_t status = track.u8();
        if (status < 0x80) {
            // Running status: the data byte just read belongs to the previous channel event.
            if (running == 0) ErrorReport::invalidArgument();
            track.skip(static_cast<std::size_t>(ChannelDataBytes(running) - 1));
        } else if (status < 0xF0) {
            running = status;
            track.skip(static_cast<std::size_t>(ChannelDataBytes(status)));
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            track.skip(VarLen(track)); // system exclusive
        } else if (status == 0xFF) {
            running = 0;
            const std::uint8_t type = track.u8();
            track.skip(VarLen(track));
            ++events;
            if (type == 0x2F) return events; // end of track: anything after it is ignored
            continue;
        } else {
            ErrorReport::invalidArgument(); // system common and real-time bytes have no place in a file
        }
        ++events;
    }
    return events;
}
} // namespace

MidiFileInfo ReadMidiFile(std::span<const std::byte> bytes) {
    ByteReader file(bytes);
    // RIFF "RMID": little-endian chunks; the standard MIDI file is the "data" chunk.
    if (bytes.size() >= 12 && IsTag(file.spanAt(0, 4), "RIFF") && IsTag(file.spanAt(8, 4), "RMID")) {
        ByteReader riff =
            file.sub(12, std::min<std::size_t>(file.u32At(4) >= 4 ? file.u32At(4) - 4 : 0, file.size() - 12));
        for (;;) {
            const auto tag = riff.take(4);
            const std::uint32_t size = riff.u32();
            if (IsTag(tag, "data")) {
                file = riff.sub(riff.pos(), size);
                break;
            }
            riff.skip(size);
            riff.align(2);
        }
    }

    MidiFileInfo info;
    info.smf = file.data();
    if (!IsTag(file.take(4), "MThd")) ErrorReport::invalidArgument();
    const std::uint32_t headerSize = BigEndian32(file);
    if (headerSize < 6) ErrorReport::invalidArgument();
    ByteReader header = file.sub(file.pos(), headerSize);
    file.skip(headerSize);
    info.format = BigEndian16(header);
    const std::uint16_t declaredTracks = BigEndian16(header);
    info.division = BigEndian16(header);
    // Time-code divisions (the top bit set) are not played; neither is a division of 0.
    if (info.format > 2 || info.division == 0 || (info.division & 0x8000u) != 0 || declaredTracks == 0)
        ErrorReport::invalidArgument();

    // Every track the header announces must be there: a file cut short is not played.
    std::uint32_t tracks = 0;
    while (tracks < declaredTracks) {
        const auto tag = file.take(4);
        const std::uint32_t size = BigEndian32(file);
        ByteReader chunk = file.sub(file.pos(), size);
        file.skip(size);
        if (!IsTag(tag, "MTrk")) continue; // chunks of unknown types are skipped, as the format asks
        info.events += CheckTrack(chunk);
        ++tracks;
    }
    info.tracks = static_cast<std::uint16_t>(tracks);
    return info;
}
