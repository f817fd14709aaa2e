#pragma once
// The temporary file through which media and some picture formats are loaded, and the stop of
// every playback.
#include <QString>
#include <cstddef>
#include <span>

// One file per process in the user's private runtime folder.
const QString &TempFilePath();
// Creates the temporary file exclusively (never through a link) with exactly these bytes. Raises
// the failure of code 75 when the file cannot be created or written.
void WriteTempFile(std::span<const std::byte> bytes);
// Closes every open media device and deletes the temporary file; does nothing when the file does
// not exist. Never fails.
void StopPlayback();
