#include "inspector/message_names.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace winscout::inspector {
namespace {

// Values and their names, the names one after another in one string: no
// pointer per name, so that the tables stay small in the program.
struct NameTable {
  std::span<const std::uint16_t> values;
  const char* names;
};

constexpr std::uint16_t kWindowMessagesValues[] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0005, 0x0006, 0x0007, 0x0008, 0x000A, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015,
    0x0016, 0x0018, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, 0x0020, 0x0021,
    0x0022, 0x0023, 0x0024, 0x0026, 0x0027, 0x0028, 0x002A, 0x002B, 0x002C, 0x002D,
    0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0037, 0x0039, 0x003D, 0x0041,
    0x0046, 0x0047, 0x0048, 0x004A, 0x004B, 0x004E, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, 0x0080, 0x0081, 0x0082,
    0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AB, 0x00AC, 0x00AD, 0x00B0,
    0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA,
    0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00C1, 0x00C2, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2,
    0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00F0, 0x00F1, 0x00F2,
    0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00FE, 0x00FF, 0x0100, 0x0101,
    0x0102, 0x0103, 0x0104, 0x0105, 0x0106, 0x0107, 0x0109, 0x010D, 0x010E, 0x010F,
    0x0110, 0x0111, 0x0112, 0x0113, 0x0114, 0x0115, 0x0116, 0x0117, 0x0118, 0x0119,
    0x011A, 0x011F, 0x0120, 0x0121, 0x0122, 0x0123, 0x0124, 0x0125, 0x0126, 0x0127,
    0x0128, 0x0129, 0x0132, 0x0133, 0x0134, 0x0135, 0x0136, 0x0137, 0x0138, 0x0140,
    0x0141, 0x0142, 0x0143, 0x0144, 0x0145, 0x0146, 0x0147, 0x0148, 0x0149, 0x014A,
    0x014B, 0x014C, 0x014D, 0x014E, 0x014F, 0x0150, 0x0151, 0x0152, 0x0153, 0x0154,
    0x0155, 0x0156, 0x0157, 0x0158, 0x0159, 0x015A, 0x015B, 0x015C, 0x015D, 0x015E,
    0x015F, 0x0160, 0x0161, 0x0164, 0x0180, 0x0181, 0x0182, 0x0183, 0x0184, 0x0185,
    0x0186, 0x0187, 0x0188, 0x0189, 0x018A, 0x018B, 0x018C, 0x018D, 0x018E, 0x018F,
    0x0190, 0x0191, 0x0192, 0x0193, 0x0194, 0x0195, 0x0196, 0x0197, 0x0198, 0x0199,
    0x019A, 0x019B, 0x019C, 0x019D, 0x019E, 0x019F, 0x01A0, 0x01A1, 0x01A2, 0x01A5,
    0x01A6, 0x01A7, 0x01A8, 0x01A9, 0x01B2, 0x0200, 0x0201, 0x0202, 0x0203, 0x0204,
    0x0205, 0x0206, 0x0207, 0x0208, 0x0209, 0x020A, 0x020B, 0x020C, 0x020D, 0x020E,
    0x0210, 0x0211, 0x0212, 0x0213, 0x0214, 0x0215, 0x0216, 0x0218, 0x0219, 0x0220,
    0x0221, 0x0222, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x0228, 0x0229, 0x0230,
    0x0231, 0x0232, 0x0233, 0x0234, 0x0281, 0x0282, 0x0283, 0x0284, 0x0285, 0x0286,
    0x0288, 0x0290, 0x0291, 0x02A0, 0x02A1, 0x02A2, 0x02A3, 0x02B1, 0x02E0, 0x0300,
    0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308, 0x0309, 0x030A,
    0x030B, 0x030C, 0x030D, 0x030E, 0x030F, 0x0310, 0x0311, 0x0312, 0x0317, 0x0318,
    0x0319, 0x031A, 0x031D, 0x031E, 0x0320};
constexpr char kWindowMessagesNames[] =
    "WM_NULL\0"
    "WM_CREATE\0"
    "WM_DESTROY\0"
    "WM_MOVE\0"
    "WM_SIZE\0"
    "WM_ACTIVATE\0"
    "WM_SETFOCUS\0"
    "WM_KILLFOCUS\0"
    "WM_ENABLE\0"
    "WM_SETREDRAW\0"
    "WM_SETTEXT\0"
    "WM_GETTEXT\0"
    "WM_GETTEXTLENGTH\0"
    "WM_PAINT\0"
    "WM_CLOSE\0"
    "WM_QUERYENDSESSION\0"
    "WM_QUIT\0"
    "WM_QUERYOPEN\0"
    "WM_ERASEBKGND\0"
    "WM_SYSCOLORCHANGE\0"
    "WM_ENDSESSION\0"
    "WM_SHOWWINDOW\0"
    "WM_SETTINGCHANGE\0"
    "WM_DEVMODECHANGE\0"
    "WM_ACTIVATEAPP\0"
    "WM_FONTCHANGE\0"
    "WM_TIMECHANGE\0"
    "WM_CANCELMODE\0"
    "WM_SETCURSOR\0"
    "WM_MOUSEACTIVATE\0"
    "WM_CHILDACTIVATE\0"
    "WM_QUEUESYNC\0"
    "WM_GETMINMAXINFO\0"
    "WM_PAINTICON\0"
    "WM_ICONERASEBKGND\0"
    "WM_NEXTDLGCTL\0"
    "WM_SPOOLERSTATUS\0"
    "WM_DRAWITEM\0"
    "WM_MEASUREITEM\0"
    "WM_DELETEITEM\0"
    "WM_VKEYTOITEM\0"
    "WM_CHARTOITEM\0"
    "WM_SETFONT\0"
    "WM_GETFONT\0"
    "WM_SETHOTKEY\0"
    "WM_GETHOTKEY\0"
    "WM_QUERYDRAGICON\0"
    "WM_COMPAREITEM\0"
    "WM_GETOBJECT\0"
    "WM_COMPACTING\0"
    "WM_WINDOWPOSCHANGING\0"
    "WM_WINDOWPOSCHANGED\0"
    "WM_POWER\0"
    "WM_COPYDATA\0"
    "WM_CANCELJOURNAL\0"
    "WM_NOTIFY\0"
    "WM_INPUTLANGCHANGEREQUEST\0"
    "WM_INPUTLANGCHANGE\0"
    "WM_TCARD\0"
    "WM_HELP\0"
    "WM_USERCHANGED\0"
    "WM_NOTIFYFORMAT\0"
    "WM_CONTEXTMENU\0"
    "WM_STYLECHANGING\0"
    "WM_STYLECHANGED\0"
    "WM_DISPLAYCHANGE\0"
    "WM_GETICON\0"
    "WM_SETICON\0"
    "WM_NCCREATE\0"
    "WM_NCDESTROY\0"
    "WM_NCCALCSIZE\0"
    "WM_NCHITTEST\0"
    "WM_NCPAINT\0"
    "WM_NCACTIVATE\0"
    "WM_GETDLGCODE\0"
    "WM_SYNCPAINT\0"
    "WM_NCMOUSEMOVE\0"
    "WM_NCLBUTTONDOWN\0"
    "WM_NCLBUTTONUP\0"
    "WM_NCLBUTTONDBLCLK\0"
    "WM_NCRBUTTONDOWN\0"
    "WM_NCRBUTTONUP\0"
    "WM_NCRBUTTONDBLCLK\0"
    "WM_NCMBUTTONDOWN\0"
    "WM_NCMBUTTONUP\0"
    "WM_NCMBUTTONDBLCLK\0"
    "WM_NCXBUTTONDOWN\0"
    "WM_NCXBUTTONUP\0"
    "WM_NCXBUTTONDBLCLK\0"
    "EM_GETSEL\0"
    "EM_SETSEL\0"
    "EM_GETRECT\0"
    "EM_SETRECT\0"
    "EM_SETRECTNP\0"
    "EM_SCROLL\0"
    "EM_LINESCROLL\0"
    "EM_SCROLLCARET\0"
    "EM_GETMODIFY\0"
    "EM_SETMODIFY\0"
    "EM_GETLINECOUNT\0"
    "EM_LINEINDEX\0"
    "EM_SETHANDLE\0"
    "EM_GETHANDLE\0"
    "EM_GETTHUMB\0"
    "EM_LINELENGTH\0"
    "EM_REPLACESEL\0"
    "EM_GETLINE\0"
    "EM_LIMITTEXT\0"
    "EM_CANUNDO\0"
    "EM_UNDO\0"
    "EM_FMTLINES\0"
    "EM_LINEFROMCHAR\0"
    "EM_SETTABSTOPS\0"
    "EM_SETPASSWORDCHAR\0"
    "EM_EMPTYUNDOBUFFER\0"
    "EM_GETFIRSTVISIBLELINE\0"
    "EM_SETREADONLY\0"
    "EM_SETWORDBREAKPROC\0"
    "EM_GETWORDBREAKPROC\0"
    "EM_GETPASSWORDCHAR\0"
    "EM_SETMARGINS\0"
    "EM_GETMARGINS\0"
    "EM_GETLIMITTEXT\0"
    "EM_POSFROMCHAR\0"
    "EM_CHARFROMPOS\0"
    "EM_SETIMESTATUS\0"
    "EM_GETIMESTATUS\0"
    "BM_GETCHECK\0"
    "BM_SETCHECK\0"
    "BM_GETSTATE\0"
    "BM_SETSTATE\0"
    "BM_SETSTYLE\0"
    "BM_CLICK\0"
    "BM_GETIMAGE\0"
    "BM_SETIMAGE\0"
    "BM_SETDONTCLICK\0"
    "WM_INPUT_DEVICE_CHANGE\0"
    "WM_INPUT\0"
    "WM_KEYDOWN\0"
    "WM_KEYUP\0"
    "WM_CHAR\0"
    "WM_DEADCHAR\0"
    "WM_SYSKEYDOWN\0"
    "WM_SYSKEYUP\0"
    "WM_SYSCHAR\0"
    "WM_SYSDEADCHAR\0"
    "WM_UNICHAR\0"
    "WM_IME_STARTCOMPOSITION\0"
    "WM_IME_ENDCOMPOSITION\0"
    "WM_IME_COMPOSITION\0"
    "WM_INITDIALOG\0"
    "WM_COMMAND\0"
    "WM_SYSCOMMAND\0"
    "WM_TIMER\0"
    "WM_HSCROLL\0"
    "WM_VSCROLL\0"
    "WM_INITMENU\0"
    "WM_INITMENUPOPUP\0"
    "WM_SYSTIMER\0"
    "WM_GESTURE\0"
    "WM_GESTURENOTIFY\0"
    "WM_MENUSELECT\0"
    "WM_MENUCHAR\0"
    "WM_ENTERIDLE\0"
    "WM_MENURBUTTONUP\0"
    "WM_MENUDRAG\0"
    "WM_MENUGETOBJECT\0"
    "WM_UNINITMENUPOPUP\0"
    "WM_MENUCOMMAND\0"
    "WM_CHANGEUISTATE\0"
    "WM_UPDATEUISTATE\0"
    "WM_QUERYUISTATE\0"
    "WM_CTLCOLORMSGBOX\0"
    "WM_CTLCOLOREDIT\0"
    "WM_CTLCOLORLISTBOX\0"
    "WM_CTLCOLORBTN\0"
    "WM_CTLCOLORDLG\0"
    "WM_CTLCOLORSCROLLBAR\0"
    "WM_CTLCOLORSTATIC\0"
    "CB_GETEDITSEL\0"
    "CB_LIMITTEXT\0"
    "CB_SETEDITSEL\0"
    "CB_ADDSTRING\0"
    "CB_DELETESTRING\0"
    "CB_DIR\0"
    "CB_GETCOUNT\0"
    "CB_GETCURSEL\0"
    "CB_GETLBTEXT\0"
    "CB_GETLBTEXTLEN\0"
    "CB_INSERTSTRING\0"
    "CB_RESETCONTENT\0"
    "CB_FINDSTRING\0"
    "CB_SELECTSTRING\0"
    "CB_SETCURSEL\0"
    "CB_SHOWDROPDOWN\0"
    "CB_GETITEMDATA\0"
    "CB_SETITEMDATA\0"
    "CB_GETDROPPEDCONTROLRECT\0"
    "CB_SETITEMHEIGHT\0"
    "CB_GETITEMHEIGHT\0"
    "CB_SETEXTENDEDUI\0"
    "CB_GETEXTENDEDUI\0"
    "CB_GETDROPPEDSTATE\0"
    "CB_FINDSTRINGEXACT\0"
    "CB_SETLOCALE\0"
    "CB_GETLOCALE\0"
    "CB_GETTOPINDEX\0"
    "CB_SETTOPINDEX\0"
    "CB_GETHORIZONTALEXTENT\0"
    "CB_SETHORIZONTALEXTENT\0"
    "CB_GETDROPPEDWIDTH\0"
    "CB_SETDROPPEDWIDTH\0"
    "CB_INITSTORAGE\0"
    "CB_GETCOMBOBOXINFO\0"
    "LB_ADDSTRING\0"
    "LB_INSERTSTRING\0"
    "LB_DELETESTRING\0"
    "LB_SELITEMRANGEEX\0"
    "LB_RESETCONTENT\0"
    "LB_SETSEL\0"
    "LB_SETCURSEL\0"
    "LB_GETSEL\0"
    "LB_GETCURSEL\0"
    "LB_GETTEXT\0"
    "LB_GETTEXTLEN\0"
    "LB_GETCOUNT\0"
    "LB_SELECTSTRING\0"
    "LB_DIR\0"
    "LB_GETTOPINDEX\0"
    "LB_FINDSTRING\0"
    "LB_GETSELCOUNT\0"
    "LB_GETSELITEMS\0"
    "LB_SETTABSTOPS\0"
    "LB_GETHORIZONTALEXTENT\0"
    "LB_SETHORIZONTALEXTENT\0"
    "LB_SETCOLUMNWIDTH\0"
    "LB_ADDFILE\0"
    "LB_SETTOPINDEX\0"
    "LB_GETITEMRECT\0"
    "LB_GETITEMDATA\0"
    "LB_SETITEMDATA\0"
    "LB_SELITEMRANGE\0"
    "LB_SETANCHORINDEX\0"
    "LB_GETANCHORINDEX\0"
    "LB_SETCARETINDEX\0"
    "LB_GETCARETINDEX\0"
    "LB_SETITEMHEIGHT\0"
    "LB_GETITEMHEIGHT\0"
    "LB_FINDSTRINGEXACT\0"
    "LB_SETLOCALE\0"
    "LB_GETLOCALE\0"
    "LB_SETCOUNT\0"
    "LB_INITSTORAGE\0"
    "LB_ITEMFROMPOINT\0"
    "LB_GETLISTBOXINFO\0"
    "WM_MOUSEMOVE\0"
    "WM_LBUTTONDOWN\0"
    "WM_LBUTTONUP\0"
    "WM_LBUTTONDBLCLK\0"
    "WM_RBUTTONDOWN\0"
    "WM_RBUTTONUP\0"
    "WM_RBUTTONDBLCLK\0"
    "WM_MBUTTONDOWN\0"
    "WM_MBUTTONUP\0"
    "WM_MBUTTONDBLCLK\0"
    "WM_MOUSEWHEEL\0"
    "WM_XBUTTONDOWN\0"
    "WM_XBUTTONUP\0"
    "WM_XBUTTONDBLCLK\0"
    "WM_MOUSEHWHEEL\0"
    "WM_PARENTNOTIFY\0"
    "WM_ENTERMENULOOP\0"
    "WM_EXITMENULOOP\0"
    "WM_NEXTMENU\0"
    "WM_SIZING\0"
    "WM_CAPTURECHANGED\0"
    "WM_MOVING\0"
    "WM_POWERBROADCAST\0"
    "WM_DEVICECHANGE\0"
    "WM_MDICREATE\0"
    "WM_MDIDESTROY\0"
    "WM_MDIACTIVATE\0"
    "WM_MDIRESTORE\0"
    "WM_MDINEXT\0"
    "WM_MDIMAXIMIZE\0"
    "WM_MDITILE\0"
    "WM_MDICASCADE\0"
    "WM_MDIICONARRANGE\0"
    "WM_MDIGETACTIVE\0"
    "WM_MDISETMENU\0"
    "WM_ENTERSIZEMOVE\0"
    "WM_EXITSIZEMOVE\0"
    "WM_DROPFILES\0"
    "WM_MDIREFRESHMENU\0"
    "WM_IME_SETCONTEXT\0"
    "WM_IME_NOTIFY\0"
    "WM_IME_CONTROL\0"
    "WM_IME_COMPOSITIONFULL\0"
    "WM_IME_SELECT\0"
    "WM_IME_CHAR\0"
    "WM_IME_REQUEST\0"
    "WM_IME_KEYDOWN\0"
    "WM_IME_KEYUP\0"
    "WM_NCMOUSEHOVER\0"
    "WM_MOUSEHOVER\0"
    "WM_NCMOUSELEAVE\0"
    "WM_MOUSELEAVE\0"
    "WM_WTSSESSION_CHANGE\0"
    "WM_DPICHANGED\0"
    "WM_CUT\0"
    "WM_COPY\0"
    "WM_PASTE\0"
    "WM_CLEAR\0"
    "WM_UNDO\0"
    "WM_RENDERFORMAT\0"
    "WM_RENDERALLFORMATS\0"
    "WM_DESTROYCLIPBOARD\0"
    "WM_DRAWCLIPBOARD\0"
    "WM_PAINTCLIPBOARD\0"
    "WM_VSCROLLCLIPBOARD\0"
    "WM_SIZECLIPBOARD\0"
    "WM_ASKCBFORMATNAME\0"
    "WM_CHANGECBCHAIN\0"
    "WM_HSCROLLCLIPBOARD\0"
    "WM_QUERYNEWPALETTE\0"
    "WM_PALETTEISCHANGING\0"
    "WM_PALETTECHANGED\0"
    "WM_HOTKEY\0"
    "WM_PRINT\0"
    "WM_PRINTCLIENT\0"
    "WM_APPCOMMAND\0"
    "WM_THEMECHANGED\0"
    "WM_CLIPBOARDUPDATE\0"
    "WM_DWMCOMPOSITIONCHANGED\0"
    "WM_DWMCOLORIZATIONCOLORCHANGED\0";
constexpr NameTable kWindowMessages{kWindowMessagesValues, kWindowMessagesNames};

// Offsets from LVM_FIRST (0x1000).
constexpr std::uint16_t kListViewMessagesValues[] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0C, 0x0D, 0x0E, 0x0F,
    0x10, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E,
    0x1F, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E,
    0x2F, 0x30, 0x32, 0x33, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x4B, 0x4C,
    0x4D, 0x53, 0x5F, 0x60, 0x61, 0x73, 0x74, 0x76, 0x8E, 0x8F};
constexpr char kListViewMessagesNames[] =
    "LVM_GETBKCOLOR\0"
    "LVM_SETBKCOLOR\0"
    "LVM_GETIMAGELIST\0"
    "LVM_SETIMAGELIST\0"
    "LVM_GETITEMCOUNT\0"
    "LVM_GETITEMA\0"
    "LVM_SETITEMA\0"
    "LVM_INSERTITEMA\0"
    "LVM_DELETEITEM\0"
    "LVM_DELETEALLITEMS\0"
    "LVM_GETNEXTITEM\0"
    "LVM_FINDITEMA\0"
    "LVM_GETITEMRECT\0"
    "LVM_SETITEMPOSITION\0"
    "LVM_GETITEMPOSITION\0"
    "LVM_HITTEST\0"
    "LVM_ENSUREVISIBLE\0"
    "LVM_SCROLL\0"
    "LVM_REDRAWITEMS\0"
    "LVM_ARRANGE\0"
    "LVM_EDITLABELA\0"
    "LVM_GETEDITCONTROL\0"
    "LVM_GETCOLUMNA\0"
    "LVM_SETCOLUMNA\0"
    "LVM_INSERTCOLUMNA\0"
    "LVM_DELETECOLUMN\0"
    "LVM_GETCOLUMNWIDTH\0"
    "LVM_SETCOLUMNWIDTH\0"
    "LVM_GETHEADER\0"
    "LVM_GETVIEWRECT\0"
    "LVM_GETTEXTCOLOR\0"
    "LVM_SETTEXTCOLOR\0"
    "LVM_GETTEXTBKCOLOR\0"
    "LVM_SETTEXTBKCOLOR\0"
    "LVM_GETTOPINDEX\0"
    "LVM_GETCOUNTPERPAGE\0"
    "LVM_GETORIGIN\0"
    "LVM_UPDATE\0"
    "LVM_SETITEMSTATE\0"
    "LVM_GETITEMSTATE\0"
    "LVM_GETITEMTEXTA\0"
    "LVM_SETITEMTEXTA\0"
    "LVM_SETITEMCOUNT\0"
    "LVM_SORTITEMS\0"
    "LVM_GETSELECTEDCOUNT\0"
    "LVM_GETITEMSPACING\0"
    "LVM_SETEXTENDEDLISTVIEWSTYLE\0"
    "LVM_GETEXTENDEDLISTVIEWSTYLE\0"
    "LVM_GETSUBITEMRECT\0"
    "LVM_SUBITEMHITTEST\0"
    "LVM_SETCOLUMNORDERARRAY\0"
    "LVM_GETCOLUMNORDERARRAY\0"
    "LVM_SETHOTITEM\0"
    "LVM_GETHOTITEM\0"
    "LVM_GETITEMW\0"
    "LVM_SETITEMW\0"
    "LVM_INSERTITEMW\0"
    "LVM_FINDITEMW\0"
    "LVM_GETCOLUMNW\0"
    "LVM_SETCOLUMNW\0"
    "LVM_INSERTCOLUMNW\0"
    "LVM_GETITEMTEXTW\0"
    "LVM_SETITEMTEXTW\0"
    "LVM_EDITLABELW\0"
    "LVM_SETVIEW\0"
    "LVM_GETVIEW\0";
constexpr NameTable kListViewMessages{kListViewMessagesValues, kListViewMessagesNames};

// Offsets from TVM_FIRST (0x1100).
constexpr std::uint16_t kTreeViewMessagesValues[] = {
    0x00, 0x01, 0x02, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
    0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x16, 0x1B,
    0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x27, 0x32, 0x3E, 0x3F, 0x41};
constexpr char kTreeViewMessagesNames[] =
    "TVM_INSERTITEMA\0"
    "TVM_DELETEITEM\0"
    "TVM_EXPAND\0"
    "TVM_GETITEMRECT\0"
    "TVM_GETCOUNT\0"
    "TVM_GETINDENT\0"
    "TVM_SETINDENT\0"
    "TVM_GETIMAGELIST\0"
    "TVM_SETIMAGELIST\0"
    "TVM_GETNEXTITEM\0"
    "TVM_SELECTITEM\0"
    "TVM_GETITEMA\0"
    "TVM_SETITEMA\0"
    "TVM_EDITLABELA\0"
    "TVM_GETEDITCONTROL\0"
    "TVM_GETVISIBLECOUNT\0"
    "TVM_HITTEST\0"
    "TVM_CREATEDRAGIMAGE\0"
    "TVM_SORTCHILDREN\0"
    "TVM_ENSUREVISIBLE\0"
    "TVM_ENDEDITLABELNOW\0"
    "TVM_SETITEMHEIGHT\0"
    "TVM_GETITEMHEIGHT\0"
    "TVM_SETBKCOLOR\0"
    "TVM_SETTEXTCOLOR\0"
    "TVM_GETBKCOLOR\0"
    "TVM_GETTEXTCOLOR\0"
    "TVM_GETITEMSTATE\0"
    "TVM_INSERTITEMW\0"
    "TVM_GETITEMW\0"
    "TVM_SETITEMW\0"
    "TVM_EDITLABELW\0";
constexpr NameTable kTreeViewMessages{kTreeViewMessagesValues, kTreeViewMessagesNames};

constexpr std::uint16_t kVirtualKeysValues[] = {
    0x01, 0x02, 0x03, 0x04, 0x08, 0x09, 0x0C, 0x0D, 0x10, 0x11, 0x12, 0x13,
    0x14, 0x1B, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29,
    0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x5B, 0x5C, 0x5D, 0x5F, 0x6A, 0x6B,
    0x6C, 0x6D, 0x6E, 0x6F, 0x90, 0x91, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5,
    0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
constexpr char kVirtualKeysNames[] =
    "VK_LBUTTON\0"
    "VK_RBUTTON\0"
    "VK_CANCEL\0"
    "VK_MBUTTON\0"
    "VK_BACK\0"
    "VK_TAB\0"
    "VK_CLEAR\0"
    "VK_RETURN\0"
    "VK_SHIFT\0"
    "VK_CONTROL\0"
    "VK_MENU\0"
    "VK_PAUSE\0"
    "VK_CAPITAL\0"
    "VK_ESCAPE\0"
    "VK_SPACE\0"
    "VK_PRIOR\0"
    "VK_NEXT\0"
    "VK_END\0"
    "VK_HOME\0"
    "VK_LEFT\0"
    "VK_UP\0"
    "VK_RIGHT\0"
    "VK_DOWN\0"
    "VK_SELECT\0"
    "VK_PRINT\0"
    "VK_EXECUTE\0"
    "VK_SNAPSHOT\0"
    "VK_INSERT\0"
    "VK_DELETE\0"
    "VK_HELP\0"
    "VK_LWIN\0"
    "VK_RWIN\0"
    "VK_APPS\0"
    "VK_SLEEP\0"
    "VK_MULTIPLY\0"
    "VK_ADD\0"
    "VK_SEPARATOR\0"
    "VK_SUBTRACT\0"
    "VK_DECIMAL\0"
    "VK_DIVIDE\0"
    "VK_NUMLOCK\0"
    "VK_SCROLL\0"
    "VK_LSHIFT\0"
    "VK_RSHIFT\0"
    "VK_LCONTROL\0"
    "VK_RCONTROL\0"
    "VK_LMENU\0"
    "VK_RMENU\0"
    "VK_OEM_1\0"
    "VK_OEM_PLUS\0"
    "VK_OEM_COMMA\0"
    "VK_OEM_MINUS\0"
    "VK_OEM_PERIOD\0"
    "VK_OEM_2\0"
    "VK_OEM_3\0"
    "VK_OEM_4\0"
    "VK_OEM_5\0"
    "VK_OEM_6\0"
    "VK_OEM_7\0";
constexpr NameTable kVirtualKeys{kVirtualKeysValues, kVirtualKeysNames};

constexpr std::uint16_t kButtonCodesValues[] = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr char kButtonCodesNames[] =
    "BN_CLICKED\0"
    "BN_PAINT\0"
    "BN_HILITE\0"
    "BN_UNHILITE\0"
    "BN_DISABLE\0"
    "BN_DOUBLECLICKED\0"
    "BN_SETFOCUS\0"
    "BN_KILLFOCUS\0";
constexpr NameTable kButtonCodes{kButtonCodesValues, kButtonCodesNames};
constexpr std::uint16_t kEditCodesValues[] = {0x100, 0x200, 0x300, 0x400,
                                              0x500, 0x501, 0x601, 0x602};
constexpr char kEditCodesNames[] =
    "EN_SETFOCUS\0"
    "EN_KILLFOCUS\0"
    "EN_CHANGE\0"
    "EN_UPDATE\0"
    "EN_ERRSPACE\0"
    "EN_MAXTEXT\0"
    "EN_HSCROLL\0"
    "EN_VSCROLL\0";
constexpr NameTable kEditCodes{kEditCodesValues, kEditCodesNames};
constexpr std::uint16_t kComboBoxCodesValues[] = {0xFFFF, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr char kComboBoxCodesNames[] =
    "CBN_ERRSPACE\0"
    "CBN_SELCHANGE\0"
    "CBN_DBLCLK\0"
    "CBN_SETFOCUS\0"
    "CBN_KILLFOCUS\0"
    "CBN_EDITCHANGE\0"
    "CBN_EDITUPDATE\0"
    "CBN_DROPDOWN\0"
    "CBN_CLOSEUP\0"
    "CBN_SELENDOK\0"
    "CBN_SELENDCANCEL\0";
constexpr NameTable kComboBoxCodes{kComboBoxCodesValues, kComboBoxCodesNames};
constexpr std::uint16_t kListBoxCodesValues[] = {0xFFFE, 1, 2, 3, 4, 5};
constexpr char kListBoxCodesNames[] =
    "LBN_ERRSPACE\0"
    "LBN_SELCHANGE\0"
    "LBN_DBLCLK\0"
    "LBN_SELCANCEL\0"
    "LBN_SETFOCUS\0"
    "LBN_KILLFOCUS\0";
constexpr NameTable kListBoxCodes{kListBoxCodesValues, kListBoxCodesNames};

// WM_NOTIFY codes are negative; the tables hold their magnitudes.
constexpr std::uint16_t kCommonNotifyCodesValues[] = {
    1, 2, 3, 4, 5, 6, 7, 8, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
constexpr char kCommonNotifyCodesNames[] =
    "NM_OUTOFMEMORY\0"
    "NM_CLICK\0"
    "NM_DBLCLK\0"
    "NM_RETURN\0"
    "NM_RCLICK\0"
    "NM_RDBLCLK\0"
    "NM_SETFOCUS\0"
    "NM_KILLFOCUS\0"
    "NM_CUSTOMDRAW\0"
    "NM_HOVER\0"
    "NM_NCHITTEST\0"
    "NM_KEYDOWN\0"
    "NM_RELEASEDCAPTURE\0"
    "NM_SETCURSOR\0"
    "NM_CHAR\0"
    "NM_TOOLTIPSCREATED\0"
    "NM_LDOWN\0"
    "NM_RDOWN\0"
    "NM_THEMECHANGED\0";
constexpr NameTable kCommonNotifyCodes{kCommonNotifyCodesValues, kCommonNotifyCodesNames};
constexpr std::uint16_t kListViewNotifyCodesValues[] = {
    100, 101, 102, 103, 104, 105, 106, 108, 109, 111, 113, 114,
    115, 121, 150, 151, 155, 156, 157, 158, 175, 176, 177, 178};
constexpr char kListViewNotifyCodesNames[] =
    "LVN_ITEMCHANGING\0"
    "LVN_ITEMCHANGED\0"
    "LVN_INSERTITEM\0"
    "LVN_DELETEITEM\0"
    "LVN_DELETEALLITEMS\0"
    "LVN_BEGINLABELEDITA\0"
    "LVN_ENDLABELEDITA\0"
    "LVN_COLUMNCLICK\0"
    "LVN_BEGINDRAG\0"
    "LVN_BEGINRDRAG\0"
    "LVN_ODCACHEHINT\0"
    "LVN_ITEMACTIVATE\0"
    "LVN_ODSTATECHANGED\0"
    "LVN_HOTTRACK\0"
    "LVN_GETDISPINFOA\0"
    "LVN_SETDISPINFOA\0"
    "LVN_KEYDOWN\0"
    "LVN_MARQUEEBEGIN\0"
    "LVN_GETINFOTIPA\0"
    "LVN_GETINFOTIPW\0"
    "LVN_BEGINLABELEDITW\0"
    "LVN_ENDLABELEDITW\0"
    "LVN_GETDISPINFOW\0"
    "LVN_SETDISPINFOW\0";
constexpr NameTable kListViewNotifyCodes{kListViewNotifyCodesValues,
                                         kListViewNotifyCodesNames};
constexpr std::uint16_t kTreeViewNotifyCodesValues[] = {
    401, 402, 403, 404, 405, 406, 407, 408, 409, 410, 411, 412, 413,
    414, 415, 450, 451, 452, 453, 454, 455, 456, 457, 458, 459, 460};
constexpr char kTreeViewNotifyCodesNames[] =
    "TVN_SELCHANGINGA\0"
    "TVN_SELCHANGEDA\0"
    "TVN_GETDISPINFOA\0"
    "TVN_SETDISPINFOA\0"
    "TVN_ITEMEXPANDINGA\0"
    "TVN_ITEMEXPANDEDA\0"
    "TVN_BEGINDRAGA\0"
    "TVN_BEGINRDRAGA\0"
    "TVN_DELETEITEMA\0"
    "TVN_BEGINLABELEDITA\0"
    "TVN_ENDLABELEDITA\0"
    "TVN_KEYDOWN\0"
    "TVN_GETINFOTIPA\0"
    "TVN_GETINFOTIPW\0"
    "TVN_SINGLEEXPAND\0"
    "TVN_SELCHANGINGW\0"
    "TVN_SELCHANGEDW\0"
    "TVN_GETDISPINFOW\0"
    "TVN_SETDISPINFOW\0"
    "TVN_ITEMEXPANDINGW\0"
    "TVN_ITEMEXPANDEDW\0"
    "TVN_BEGINDRAGW\0"
    "TVN_BEGINRDRAGW\0"
    "TVN_DELETEITEMW\0"
    "TVN_BEGINLABELEDITW\0"
    "TVN_ENDLABELEDITW\0";
constexpr NameTable kTreeViewNotifyCodes{kTreeViewNotifyCodesValues,
                                         kTreeViewNotifyCodesNames};

constexpr std::uint16_t kSysCommandsValues[] = {
    0xF000, 0xF010, 0xF020, 0xF030, 0xF040, 0xF050, 0xF060, 0xF070, 0xF080,
    0xF090, 0xF100, 0xF120, 0xF130, 0xF140, 0xF150, 0xF160, 0xF170, 0xF180};
constexpr char kSysCommandsNames[] =
    "SC_SIZE\0"
    "SC_MOVE\0"
    "SC_MINIMIZE\0"
    "SC_MAXIMIZE\0"
    "SC_NEXTWINDOW\0"
    "SC_PREVWINDOW\0"
    "SC_CLOSE\0"
    "SC_VSCROLL\0"
    "SC_HSCROLL\0"
    "SC_MOUSEMENU\0"
    "SC_KEYMENU\0"
    "SC_RESTORE\0"
    "SC_TASKLIST\0"
    "SC_SCREENSAVE\0"
    "SC_HOTKEY\0"
    "SC_DEFAULT\0"
    "SC_MONITORPOWER\0"
    "SC_CONTEXTHELP\0";
constexpr NameTable kSysCommands{kSysCommandsValues, kSysCommandsNames};

constexpr std::uint32_t kUser = 0x0400;
constexpr std::uint32_t kApp = 0x8000;
constexpr std::uint32_t kRegisteredFirst = 0xC000;
constexpr std::uint32_t kListViewFirst = 0x1000;
constexpr std::uint32_t kTreeViewFirst = 0x1100;

const char* Find(const NameTable& table, std::uint32_t value) {
  const auto found = std::ranges::find(table.values, value);
  if (found == table.values.end()) return nullptr;
  const char* name = table.names;
  for (auto i = found - table.values.begin(); i > 0; --i) name += std::strlen(name) + 1;
  return name;
}

std::string Hex(std::uint32_t value, int digits) { return HexText(value, digits); }

bool SameClass(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
  });
}

// The table of a standard control's own messages, by its class; nullptr for
// other classes.
const NameTable* ControlTable(std::string_view class_name, std::uint32_t& first) {
  if (SameClass(class_name, "SysListView32")) {
    first = kListViewFirst;
    return &kListViewMessages;
  }
  if (SameClass(class_name, "SysTreeView32")) {
    first = kTreeViewFirst;
    return &kTreeViewMessages;
  }
  return nullptr;
}

}  // namespace

std::string HexText(std::uint64_t value, int digits) {
  std::string text;
  for (; value != 0 || digits > 0; value >>= 4, --digits) {
    text.insert(text.begin(), "0123456789ABCDEF"[value & 0xF]);
  }
  return "0x" + text;
}

bool IsRegisteredMessage(std::uint32_t message) {
  return message >= kRegisteredFirst && message <= 0xFFFF;
}

std::string MessageName(std::uint32_t message, std::string_view class_name,
                        std::string_view registered_name) {
  if (const char* name = Find(kWindowMessages, message)) return name;
  std::uint32_t first = 0;
  const NameTable* control = ControlTable(class_name, first);
  if (control && message >= first) {
    if (const char* name = Find(*control, message - first)) return name;
  }
  if (IsRegisteredMessage(message) && !registered_name.empty()) {
    return std::string(registered_name);
  }
  if (message >= kUser && message < kApp)
    return "WM_USER+" + std::to_string(message - kUser);
  if (message >= kApp && message < kRegisteredFirst) {
    return "WM_APP+" + std::to_string(message - kApp);
  }
  return Hex(message, 4);
}

MessageGroup GroupOf(std::uint32_t message) {
  switch (message) {
    case 0x0200:  // WM_MOUSEMOVE
    case 0x00A0:  // WM_NCMOUSEMOVE
    case 0x02A0:  // WM_NCMOUSEHOVER
    case 0x02A1:  // WM_MOUSEHOVER
      return MessageGroup::kMouseMove;
    case 0x0084:  // WM_NCHITTEST
      return MessageGroup::kHitTest;
    case 0x0020:  // WM_SETCURSOR
      return MessageGroup::kCursor;
    case 0x0113:  // WM_TIMER
    case 0x0118:  // WM_SYSTIMER
      return MessageGroup::kTimer;
    case 0x000F:  // WM_PAINT
    case 0x0085:  // WM_NCPAINT
    case 0x0014:  // WM_ERASEBKGND
    case 0x0088:  // WM_SYNCPAINT
      return MessageGroup::kPaint;
  }
  if (message >= 0x0132 && message <= 0x0138)
    return MessageGroup::kPaint;  // WM_CTLCOLOR*
  return MessageGroup::kOther;
}

std::string VirtualKeyName(std::uint32_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    return std::string(1, static_cast<char>(key));
  }
  if (key >= 0x60 && key <= 0x69) return "VK_NUMPAD" + std::to_string(key - 0x60);
  if (key >= 0x70 && key <= 0x87) return "VK_F" + std::to_string(key - 0x70 + 1);
  if (const char* name = Find(kVirtualKeys, key)) return name;
  return Hex(key, 2);
}

std::string CommandCodeName(std::uint32_t code, std::string_view control_class) {
  const NameTable* table = nullptr;
  if (SameClass(control_class, "Button")) {
    table = &kButtonCodes;
  } else if (SameClass(control_class, "Edit")) {
    table = &kEditCodes;
  } else if (SameClass(control_class, "ComboBox")) {
    table = &kComboBoxCodes;
  } else if (SameClass(control_class, "ListBox") ||
             SameClass(control_class, "ComboLBox")) {
    table = &kListBoxCodes;
  }
  if (const char* name = table ? Find(*table, code) : nullptr) return name;
  return "code " + std::to_string(code);
}

std::string NotifyCodeName(std::int32_t code, std::string_view sender_class) {
  const std::uint32_t magnitude =
      code < 0 ? static_cast<std::uint32_t>(-(code + 1)) + 1 : 0;
  const NameTable* own = nullptr;
  if (SameClass(sender_class, "SysListView32")) own = &kListViewNotifyCodes;
  if (SameClass(sender_class, "SysTreeView32")) own = &kTreeViewNotifyCodes;
  if (magnitude != 0) {
    if (const char* name = Find(kCommonNotifyCodes, magnitude)) return name;
    if (const char* name = own ? Find(*own, magnitude) : nullptr) return name;
  }
  return "code " + std::to_string(code);
}

std::string SysCommandName(std::uint32_t command) {
  if (const char* name = Find(kSysCommands, command & 0xFFF0)) return name;
  return Hex(command, 4);
}

}  // namespace winscout::inspector
