#pragma once
// The program's own pictures (banner and icons) are compiled into a static library, where nothing
// refers to them; this registers them explicitly before first use.
void InitProgramResources();
