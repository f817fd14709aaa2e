#pragma once
// Window, dialog and control style bits as dialog templates store them. The values are the
// platform's own; the names are its names, so a template can be read beside its documentation.
#include <cstdint>

namespace Win {
// Window styles.
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000; // WS_BORDER | WS_DLGFRAME
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000; // on top-level windows
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000; // on top-level windows

inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr std::uint32_t WS_EX_CONTEXTHELP = 0x00000400;
inline constexpr std::uint32_t WS_EX_RIGHT = 0x00001000;
inline constexpr std::uint32_t WS_EX_LAYOUTRTL = 0x00400000;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;

// Dialog styles.
inline constexpr std::uint32_t DS_SETFONT = 0x0040;
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080;
inline constexpr std::uint32_t DS_FIXEDSYS = 0x0008;
inline constexpr std::uint32_t DS_CONTROL = 0x0400;
inline constexpr std::uint32_t DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// Buttons.
inline constexpr std::uint32_t BS_TYPEMASK = 0x000F;
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr std::uint32_t BS_CHECKBOX = 0x2;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x4;
inline constexpr std::uint32_t BS_3STATE = 0x5;
inline constexpr std::uint32_t BS_AUTO3STATE = 0x6;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7;
inline constexpr std::uint32_t BS_USERBUTTON = 0x8;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr std::uint32_t BS_PUSHBOX = 0xA;
inline constexpr std::uint32_t BS_OWNERDRAW = 0xB;
inline constexpr std::uint32_t BS_SPLITBUTTON = 0xC;
inline constexpr std::uint32_t BS_DEFSPLITBUTTON = 0xD;
inline constexpr std::uint32_t BS_COMMANDLINK = 0xE;
inline constexpr std::uint32_t BS_DEFCOMMANDLINK = 0xF;
inline constexpr std::uint32_t BS_LEFTTEXT = 0x0020;
inline constexpr std::uint32_t BS_ICON = 0x0040;
inline constexpr std::uint32_t BS_BITMAP = 0x0080;
inline constexpr std::uint32_t BS_PUSHLIKE = 0x1000;
inline constexpr std::uint32_t BS_MULTILINE = 0x2000;
inline constexpr std::uint32_t BS_FLAT = 0x8000;

// Edits.
inline constexpr std::uint32_t ES_CENTER = 0x0001;
inline constexpr std::uint32_t ES_RIGHT = 0x0002;
inline constexpr std::uint32_t ES_MULTILINE = 0x0004;
inline constexpr std::uint32_t ES_UPPERCASE = 0x0008;
inline constexpr std::uint32_t ES_LOWERCASE = 0x0010;
inline constexpr std::uint32_t ES_PASSWORD = 0x0020;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
inline constexpr std::uint32_t ES_READONLY = 0x0800;
inline constexpr std::uint32_t ES_NUMBER = 0x2000;

// Statics.
inline constexpr std::uint32_t SS_TYPEMASK = 0x001F;
inline constexpr std::uint32_t SS_LEFT = 0x00;
inline constexpr std::uint32_t SS_CENTER = 0x01;
inline constexpr std::uint32_t SS_RIGHT = 0x02;
inline constexpr std::uint32_t SS_ICON = 0x03;
inline constexpr std::uint32_t SS_BLACKRECT = 0x04;
inline constexpr std::uint32_t SS_GRAYRECT = 0x05;
inline constexpr std::uint32_t SS_WHITERECT = 0x06;
inline constexpr std::uint32_t SS_BLACKFRAME = 0x07;
inline constexpr std::uint32_t SS_GRAYFRAME = 0x08;
inline constexpr std::uint32_t SS_WHITEFRAME = 0x09;
inline constexpr std::uint32_t SS_USERITEM = 0x0A;
inline constexpr std::uint32_t SS_SIMPLE = 0x0B;
inline constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0x0C;
inline constexpr std::uint32_t SS_OWNERDRAW = 0x0D;
inline constexpr std::uint32_t SS_BITMAP = 0x0E;
inline constexpr std::uint32_t SS_ENHMETAFILE = 0x0F;
inline constexpr std::uint32_t SS_ETCHEDHORZ = 0x10;
inline constexpr std::uint32_t SS_ETCHEDVERT = 0x11;
inline constexpr std::uint32_t SS_ETCHEDFRAME = 0x12;
inline constexpr std::uint32_t SS_NOPREFIX = 0x0080;
inline constexpr std::uint32_t SS_NOTIFY = 0x0100;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x0200;
inline constexpr std::uint32_t SS_RIGHTJUST = 0x0400;
inline constexpr std::uint32_t SS_REALSIZEIMAGE = 0x0800;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000;
inline constexpr std::uint32_t SS_EDITCONTROL = 0x2000;

// Combo boxes and scroll bars.
inline constexpr std::uint32_t CBS_SIMPLE = 0x1;
inline constexpr std::uint32_t CBS_DROPDOWN = 0x2;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3;
inline constexpr std::uint32_t CBS_TYPEMASK = 0x3;
inline constexpr std::uint32_t SBS_VERT = 0x01;
inline constexpr std::uint32_t SBS_SIZEBOX = 0x08;
inline constexpr std::uint32_t SBS_SIZEGRIP = 0x10;

// Common controls.
inline constexpr std::uint32_t CCS_TOP = 0x01;
inline constexpr std::uint32_t CCS_BOTTOM = 0x03;
inline constexpr std::uint32_t CCS_NORESIZE = 0x04;
inline constexpr std::uint32_t CCS_NOPARENTALIGN = 0x08;
inline constexpr std::uint32_t CCS_VERT = 0x80;
inline constexpr std::uint32_t LVS_TYPEMASK = 0x0003;
inline constexpr std::uint32_t LVS_ICON = 0x0000;
inline constexpr std::uint32_t LVS_REPORT = 0x0001;
inline constexpr std::uint32_t LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr std::uint32_t TCS_VERTICAL = 0x0080;
inline constexpr std::uint32_t TCS_BOTTOM = 0x0002;
inline constexpr std::uint32_t PBS_VERTICAL = 0x04;
inline constexpr std::uint32_t TBS_AUTOTICKS = 0x0001;
inline constexpr std::uint32_t TBS_VERT = 0x0002;
inline constexpr std::uint32_t TBS_TOP = 0x0004;
inline constexpr std::uint32_t TBS_BOTH = 0x0008;
inline constexpr std::uint32_t TBS_NOTICKS = 0x0010;
inline constexpr std::uint32_t UDS_ALIGNRIGHT = 0x0004;
inline constexpr std::uint32_t UDS_ALIGNLEFT = 0x0008;
inline constexpr std::uint32_t UDS_AUTOBUDDY = 0x0010;
inline constexpr std::uint32_t UDS_HORZ = 0x0040;
inline constexpr std::uint32_t DTS_UPDOWN = 0x0001;
inline constexpr std::uint32_t DTS_SHOWNONE = 0x0002;
inline constexpr std::uint32_t DTS_LONGDATEFORMAT = 0x0004;
inline constexpr std::uint32_t DTS_TIMEFORMAT = 0x0009;
inline constexpr std::uint32_t SBARS_SIZEGRIP = 0x0100;
} // namespace Win
