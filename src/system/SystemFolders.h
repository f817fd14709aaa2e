#pragma once
// Where the program finds "the Windows system directory" on a host without one.
#include <QString>

// The first folder that holds a file named Shell32.dll (name compared without case):
// $WINEPREFIX/drive_c/windows/system32, ~/.wine/drive_c/windows/system32, then Wine's installed
// Windows libraries (x86-64, then i386). Empty when none does.
QString GetSystemDir();
// The drive_c/windows folder that matches GetSystemDir, else the home folder.
QString GetWindowsDir();
// `path` itself when it exists; otherwise the entry of its folder whose name equals its file name
// without case (the platform's file names are case-insensitive); otherwise `path` unchanged.
QString ResolvePathNoCase(const QString &path);

// The folder for a shell special-folder identifier; only the desktop folder (16) is known: the
// person's XDG desktop folder. Empty when the folder does not exist.
QString GetSpecialFolderPath(int folder);
inline constexpr int CSIDL_DESKTOPDIRECTORY = 16;
