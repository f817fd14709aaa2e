#pragma once
// The temporary file through which media and some picture formats are loaded, and the stop of
// every playback.
#include <QString>
#include <cstddef>
#include <span>

// The file the latest WriteTempFile made, in a folder only this user can enter; empty before the
// first.
const QString &TempFilePath();
// Creates a new temporary file under an unpredictable name, exclusively (never through a link),
// with exactly these bytes, and removes the one before. Raises the failure of code 75 when the file
// cannot be created or written, or when no private folder can be had.
void WriteTempFile(std::span<const std::byte> bytes);
// Closes every open media device and deletes the temporary file; does nothing when the file does
// not exist. Never fails.
void StopPlayback();
