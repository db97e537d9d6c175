#include "inspector/message_names.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

namespace winscout::inspector {
namespace {

struct Named {
  std::uint32_t value;
  const char* name;
};

constexpr Named kWindowMessages[] = {
    {0x0000, "WM_NULL"},
    {0x0001, "WM_CREATE"},
    {0x0002, "WM_DESTROY"},
    {0x0003, "WM_MOVE"},
    {0x0005, "WM_SIZE"},
    {0x0006, "WM_ACTIVATE"},
    {0x0007, "WM_SETFOCUS"},
    {0x0008, "WM_KILLFOCUS"},
    {0x000A, "WM_ENABLE"},
    {0x000B, "WM_SETREDRAW"},
    {0x000C, "WM_SETTEXT"},
    {0x000D, "WM_GETTEXT"},
    {0x000E, "WM_GETTEXTLENGTH"},
    {0x000F, "WM_PAINT"},
    {0x0010, "WM_CLOSE"},
    {0x0011, "WM_QUERYENDSESSION"},
    {0x0012, "WM_QUIT"},
    {0x0013, "WM_QUERYOPEN"},
    {0x0014, "WM_ERASEBKGND"},
    {0x0015, "WM_SYSCOLORCHANGE"},
    {0x0016, "WM_ENDSESSION"},
    {0x0018, "WM_SHOWWINDOW"},
    {0x001A, "WM_SETTINGCHANGE"},
    {0x001B, "WM_DEVMODECHANGE"},
    {0x001C, "WM_ACTIVATEAPP"},
    {0x001D, "WM_FONTCHANGE"},
    {0x001E, "WM_TIMECHANGE"},
    {0x001F, "WM_CANCELMODE"},
    {0x0020, "WM_SETCURSOR"},
    {0x0021, "WM_MOUSEACTIVATE"},
    {0x0022, "WM_CHILDACTIVATE"},
    {0x0023, "WM_QUEUESYNC"},
    {0x0024, "WM_GETMINMAXINFO"},
    {0x0026, "WM_PAINTICON"},
    {0x0027, "WM_ICONERASEBKGND"},
    {0x0028, "WM_NEXTDLGCTL"},
    {0x002A, "WM_SPOOLERSTATUS"},
    {0x002B, "WM_DRAWITEM"},
    {0x002C, "WM_MEASUREITEM"},
    {0x002D, "WM_DELETEITEM"},
    {0x002E, "WM_VKEYTOITEM"},
    {0x002F, "WM_CHARTOITEM"},
    {0x0030, "WM_SETFONT"},
    {0x0031, "WM_GETFONT"},
    {0x0032, "WM_SETHOTKEY"},
    {0x0033, "WM_GETHOTKEY"},
    {0x0037, "WM_QUERYDRAGICON"},
    {0x0039, "WM_COMPAREITEM"},
    {0x003D, "WM_GETOBJECT"},
    {0x0041, "WM_COMPACTING"},
    {0x0046, "WM_WINDOWPOSCHANGING"},
    {0x0047, "WM_WINDOWPOSCHANGED"},
    {0x0048, "WM_POWER"},
    {0x004A, "WM_COPYDATA"},
    {0x004B, "WM_CANCELJOURNAL"},
    {0x004E, "WM_NOTIFY"},
    {0x0050, "WM_INPUTLANGCHANGEREQUEST"},
    {0x0051, "WM_INPUTLANGCHANGE"},
    {0x0052, "WM_TCARD"},
    {0x0053, "WM_HELP"},
    {0x0054, "WM_USERCHANGED"},
    {0x0055, "WM_NOTIFYFORMAT"},
    {0x007B, "WM_CONTEXTMENU"},
    {0x007C, "WM_STYLECHANGING"},
    {0x007D, "WM_STYLECHANGED"},
    {0x007E, "WM_DISPLAYCHANGE"},
    {0x007F, "WM_GETICON"},
    {0x0080, "WM_SETICON"},
    {0x0081, "WM_NCCREATE"},
    {0x0082, "WM_NCDESTROY"},
    {0x0083, "WM_NCCALCSIZE"},
    {0x0084, "WM_NCHITTEST"},
    {0x0085, "WM_NCPAINT"},
    {0x0086, "WM_NCACTIVATE"},
    {0x0087, "WM_GETDLGCODE"},
    {0x0088, "WM_SYNCPAINT"},
    {0x00A0, "WM_NCMOUSEMOVE"},
    {0x00A1, "WM_NCLBUTTONDOWN"},
    {0x00A2, "WM_NCLBUTTONUP"},
    {0x00A3, "WM_NCLBUTTONDBLCLK"},
    {0x00A4, "WM_NCRBUTTONDOWN"},
    {0x00A5, "WM_NCRBUTTONUP"},
    {0x00A6, "WM_NCRBUTTONDBLCLK"},
    {0x00A7, "WM_NCMBUTTONDOWN"},
    {0x00A8, "WM_NCMBUTTONUP"},
    {0x00A9, "WM_NCMBUTTONDBLCLK"},
    {0x00AB, "WM_NCXBUTTONDOWN"},
    {0x00AC, "WM_NCXBUTTONUP"},
    {0x00AD, "WM_NCXBUTTONDBLCLK"},
    {0x00B0, "EM_GETSEL"},
    {0x00B1, "EM_SETSEL"},
    {0x00B2, "EM_GETRECT"},
    {0x00B3, "EM_SETRECT"},
    {0x00B4, "EM_SETRECTNP"},
    {0x00B5, "EM_SCROLL"},
    {0x00B6, "EM_LINESCROLL"},
    {0x00B7, "EM_SCROLLCARET"},
    {0x00B8, "EM_GETMODIFY"},
    {0x00B9, "EM_SETMODIFY"},
    {0x00BA, "EM_GETLINECOUNT"},
    {0x00BB, "EM_LINEINDEX"},
    {0x00BC, "EM_SETHANDLE"},
    {0x00BD, "EM_GETHANDLE"},
    {0x00BE, "EM_GETTHUMB"},
    {0x00C1, "EM_LINELENGTH"},
    {0x00C2, "EM_REPLACESEL"},
    {0x00C4, "EM_GETLINE"},
    {0x00C5, "EM_LIMITTEXT"},
    {0x00C6, "EM_CANUNDO"},
    {0x00C7, "EM_UNDO"},
    {0x00C8, "EM_FMTLINES"},
    {0x00C9, "EM_LINEFROMCHAR"},
    {0x00CB, "EM_SETTABSTOPS"},
    {0x00CC, "EM_SETPASSWORDCHAR"},
    {0x00CD, "EM_EMPTYUNDOBUFFER"},
    {0x00CE, "EM_GETFIRSTVISIBLELINE"},
    {0x00CF, "EM_SETREADONLY"},
    {0x00D0, "EM_SETWORDBREAKPROC"},
    {0x00D1, "EM_GETWORDBREAKPROC"},
    {0x00D2, "EM_GETPASSWORDCHAR"},
    {0x00D3, "EM_SETMARGINS"},
    {0x00D4, "EM_GETMARGINS"},
    {0x00D5, "EM_GETLIMITTEXT"},
    {0x00D6, "EM_POSFROMCHAR"},
    {0x00D7, "EM_CHARFROMPOS"},
    {0x00D8, "EM_SETIMESTATUS"},
    {0x00D9, "EM_GETIMESTATUS"},
    {0x00F0, "BM_GETCHECK"},
    {0x00F1, "BM_SETCHECK"},
    {0x00F2, "BM_GETSTATE"},
    {0x00F3, "BM_SETSTATE"},
    {0x00F4, "BM_SETSTYLE"},
    {0x00F5, "BM_CLICK"},
    {0x00F6, "BM_GETIMAGE"},
    {0x00F7, "BM_SETIMAGE"},
    {0x00F8, "BM_SETDONTCLICK"},
    {0x00FE, "WM_INPUT_DEVICE_CHANGE"},
    {0x00FF, "WM_INPUT"},
    {0x0100, "WM_KEYDOWN"},
    {0x0101, "WM_KEYUP"},
    {0x0102, "WM_CHAR"},
    {0x0103, "WM_DEADCHAR"},
    {0x0104, "WM_SYSKEYDOWN"},
    {0x0105, "WM_SYSKEYUP"},
    {0x0106, "WM_SYSCHAR"},
    {0x0107, "WM_SYSDEADCHAR"},
    {0x0109, "WM_UNICHAR"},
    {0x010D, "WM_IME_STARTCOMPOSITION"},
    {0x010E, "WM_IME_ENDCOMPOSITION"},
    {0x010F, "WM_IME_COMPOSITION"},
    {0x0110, "WM_INITDIALOG"},
    {0x0111, "WM_COMMAND"},
    {0x0112, "WM_SYSCOMMAND"},
    {0x0113, "WM_TIMER"},
    {0x0114, "WM_HSCROLL"},
    {0x0115, "WM_VSCROLL"},
    {0x0116, "WM_INITMENU"},
    {0x0117, "WM_INITMENUPOPUP"},
    {0x0118, "WM_SYSTIMER"},
    {0x0119, "WM_GESTURE"},
    {0x011A, "WM_GESTURENOTIFY"},
    {0x011F, "WM_MENUSELECT"},
    {0x0120, "WM_MENUCHAR"},
    {0x0121, "WM_ENTERIDLE"},
    {0x0122, "WM_MENURBUTTONUP"},
    {0x0123, "WM_MENUDRAG"},
    {0x0124, "WM_MENUGETOBJECT"},
    {0x0125, "WM_UNINITMENUPOPUP"},
    {0x0126, "WM_MENUCOMMAND"},
    {0x0127, "WM_CHANGEUISTATE"},
    {0x0128, "WM_UPDATEUISTATE"},
    {0x0129, "WM_QUERYUISTATE"},
    {0x0132, "WM_CTLCOLORMSGBOX"},
    {0x0133, "WM_CTLCOLOREDIT"},
    {0x0134, "WM_CTLCOLORLISTBOX"},
    {0x0135, "WM_CTLCOLORBTN"},
    {0x0136, "WM_CTLCOLORDLG"},
    {0x0137, "WM_CTLCOLORSCROLLBAR"},
    {0x0138, "WM_CTLCOLORSTATIC"},
    {0x0140, "CB_GETEDITSEL"},
    {0x0141, "CB_LIMITTEXT"},
    {0x0142, "CB_SETEDITSEL"},
    {0x0143, "CB_ADDSTRING"},
    {0x0144, "CB_DELETESTRING"},
    {0x0145, "CB_DIR"},
    {0x0146, "CB_GETCOUNT"},
    {0x0147, "CB_GETCURSEL"},
    {0x0148, "CB_GETLBTEXT"},
    {0x0149, "CB_GETLBTEXTLEN"},
    {0x014A, "CB_INSERTSTRING"},
    {0x014B, "CB_RESETCONTENT"},
    {0x014C, "CB_FINDSTRING"},
    {0x014D, "CB_SELECTSTRING"},
    {0x014E, "CB_SETCURSEL"},
    {0x014F, "CB_SHOWDROPDOWN"},
    {0x0150, "CB_GETITEMDATA"},
    {0x0151, "CB_SETITEMDATA"},
    {0x0152, "CB_GETDROPPEDCONTROLRECT"},
    {0x0153, "CB_SETITEMHEIGHT"},
    {0x0154, "CB_GETITEMHEIGHT"},
    {0x0155, "CB_SETEXTENDEDUI"},
    {0x0156, "CB_GETEXTENDEDUI"},
    {0x0157, "CB_GETDROPPEDSTATE"},
    {0x0158, "CB_FINDSTRINGEXACT"},
    {0x0159, "CB_SETLOCALE"},
    {0x015A, "CB_GETLOCALE"},
    {0x015B, "CB_GETTOPINDEX"},
    {0x015C, "CB_SETTOPINDEX"},
    {0x015D, "CB_GETHORIZONTALEXTENT"},
    {0x015E, "CB_SETHORIZONTALEXTENT"},
    {0x015F, "CB_GETDROPPEDWIDTH"},
    {0x0160, "CB_SETDROPPEDWIDTH"},
    {0x0161, "CB_INITSTORAGE"},
    {0x0164, "CB_GETCOMBOBOXINFO"},
    {0x0180, "LB_ADDSTRING"},
    {0x0181, "LB_INSERTSTRING"},
    {0x0182, "LB_DELETESTRING"},
    {0x0183, "LB_SELITEMRANGEEX"},
    {0x0184, "LB_RESETCONTENT"},
    {0x0185, "LB_SETSEL"},
    {0x0186, "LB_SETCURSEL"},
    {0x0187, "LB_GETSEL"},
    {0x0188, "LB_GETCURSEL"},
    {0x0189, "LB_GETTEXT"},
    {0x018A, "LB_GETTEXTLEN"},
    {0x018B, "LB_GETCOUNT"},
    {0x018C, "LB_SELECTSTRING"},
    {0x018D, "LB_DIR"},
    {0x018E, "LB_GETTOPINDEX"},
    {0x018F, "LB_FINDSTRING"},
    {0x0190, "LB_GETSELCOUNT"},
    {0x0191, "LB_GETSELITEMS"},
    {0x0192, "LB_SETTABSTOPS"},
    {0x0193, "LB_GETHORIZONTALEXTENT"},
    {0x0194, "LB_SETHORIZONTALEXTENT"},
    {0x0195, "LB_SETCOLUMNWIDTH"},
    {0x0196, "LB_ADDFILE"},
    {0x0197, "LB_SETTOPINDEX"},
    {0x0198, "LB_GETITEMRECT"},
    {0x0199, "LB_GETITEMDATA"},
    {0x019A, "LB_SETITEMDATA"},
    {0x019B, "LB_SELITEMRANGE"},
    {0x019C, "LB_SETANCHORINDEX"},
    {0x019D, "LB_GETANCHORINDEX"},
    {0x019E, "LB_SETCARETINDEX"},
    {0x019F, "LB_GETCARETINDEX"},
    {0x01A0, "LB_SETITEMHEIGHT"},
    {0x01A1, "LB_GETITEMHEIGHT"},
    {0x01A2, "LB_FINDSTRINGEXACT"},
    {0x01A5, "LB_SETLOCALE"},
    {0x01A6, "LB_GETLOCALE"},
    {0x01A7, "LB_SETCOUNT"},
    {0x01A8, "LB_INITSTORAGE"},
    {0x01A9, "LB_ITEMFROMPOINT"},
    {0x01B2, "LB_GETLISTBOXINFO"},
    {0x0200, "WM_MOUSEMOVE"},
    {0x0201, "WM_LBUTTONDOWN"},
    {0x0202, "WM_LBUTTONUP"},
    {0x0203, "WM_LBUTTONDBLCLK"},
    {0x0204, "WM_RBUTTONDOWN"},
    {0x0205, "WM_RBUTTONUP"},
    {0x0206, "WM_RBUTTONDBLCLK"},
    {0x0207, "WM_MBUTTONDOWN"},
    {0x0208, "WM_MBUTTONUP"},
    {0x0209, "WM_MBUTTONDBLCLK"},
    {0x020A, "WM_MOUSEWHEEL"},
    {0x020B, "WM_XBUTTONDOWN"},
    {0x020C, "WM_XBUTTONUP"},
    {0x020D, "WM_XBUTTONDBLCLK"},
    {0x020E, "WM_MOUSEHWHEEL"},
    {0x0210, "WM_PARENTNOTIFY"},
    {0x0211, "WM_ENTERMENULOOP"},
    {0x0212, "WM_EXITMENULOOP"},
    {0x0213, "WM_NEXTMENU"},
    {0x0214, "WM_SIZING"},
    {0x0215, "WM_CAPTURECHANGED"},
    {0x0216, "WM_MOVING"},
    {0x0218, "WM_POWERBROADCAST"},
    {0x0219, "WM_DEVICECHANGE"},
    {0x0220, "WM_MDICREATE"},
    {0x0221, "WM_MDIDESTROY"},
    {0x0222, "WM_MDIACTIVATE"},
    {0x0223, "WM_MDIRESTORE"},
    {0x0224, "WM_MDINEXT"},
    {0x0225, "WM_MDIMAXIMIZE"},
    {0x0226, "WM_MDITILE"},
    {0x0227, "WM_MDICASCADE"},
    {0x0228, "WM_MDIICONARRANGE"},
    {0x0229, "WM_MDIGETACTIVE"},
    {0x0230, "WM_MDISETMENU"},
    {0x0231, "WM_ENTERSIZEMOVE"},
    {0x0232, "WM_EXITSIZEMOVE"},
    {0x0233, "WM_DROPFILES"},
    {0x0234, "WM_MDIREFRESHMENU"},
    {0x0281, "WM_IME_SETCONTEXT"},
    {0x0282, "WM_IME_NOTIFY"},
    {0x0283, "WM_IME_CONTROL"},
    {0x0284, "WM_IME_COMPOSITIONFULL"},
    {0x0285, "WM_IME_SELECT"},
    {0x0286, "WM_IME_CHAR"},
    {0x0288, "WM_IME_REQUEST"},
    {0x0290, "WM_IME_KEYDOWN"},
    {0x0291, "WM_IME_KEYUP"},
    {0x02A0, "WM_NCMOUSEHOVER"},
    {0x02A1, "WM_MOUSEHOVER"},
    {0x02A2, "WM_NCMOUSELEAVE"},
    {0x02A3, "WM_MOUSELEAVE"},
    {0x02B1, "WM_WTSSESSION_CHANGE"},
    {0x02E0, "WM_DPICHANGED"},
    {0x0300, "WM_CUT"},
    {0x0301, "WM_COPY"},
    {0x0302, "WM_PASTE"},
    {0x0303, "WM_CLEAR"},
    {0x0304, "WM_UNDO"},
    {0x0305, "WM_RENDERFORMAT"},
    {0x0306, "WM_RENDERALLFORMATS"},
    {0x0307, "WM_DESTROYCLIPBOARD"},
    {0x0308, "WM_DRAWCLIPBOARD"},
    {0x0309, "WM_PAINTCLIPBOARD"},
    {0x030A, "WM_VSCROLLCLIPBOARD"},
    {0x030B, "WM_SIZECLIPBOARD"},
    {0x030C, "WM_ASKCBFORMATNAME"},
    {0x030D, "WM_CHANGECBCHAIN"},
    {0x030E, "WM_HSCROLLCLIPBOARD"},
    {0x030F, "WM_QUERYNEWPALETTE"},
    {0x0310, "WM_PALETTEISCHANGING"},
    {0x0311, "WM_PALETTECHANGED"},
    {0x0312, "WM_HOTKEY"},
    {0x0317, "WM_PRINT"},
    {0x0318, "WM_PRINTCLIENT"},
    {0x0319, "WM_APPCOMMAND"},
    {0x031A, "WM_THEMECHANGED"},
    {0x031D, "WM_CLIPBOARDUPDATE"},
    {0x031E, "WM_DWMCOMPOSITIONCHANGED"},
    {0x0320, "WM_DWMCOLORIZATIONCOLORCHANGED"},
};

// Offsets from LVM_FIRST (0x1000).
constexpr Named kListViewMessages[] = {
    {0x00, "LVM_GETBKCOLOR"},
    {0x01, "LVM_SETBKCOLOR"},
    {0x02, "LVM_GETIMAGELIST"},
    {0x03, "LVM_SETIMAGELIST"},
    {0x04, "LVM_GETITEMCOUNT"},
    {0x05, "LVM_GETITEMA"},
    {0x06, "LVM_SETITEMA"},
    {0x07, "LVM_INSERTITEMA"},
    {0x08, "LVM_DELETEITEM"},
    {0x09, "LVM_DELETEALLITEMS"},
    {0x0C, "LVM_GETNEXTITEM"},
    {0x0D, "LVM_FINDITEMA"},
    {0x0E, "LVM_GETITEMRECT"},
    {0x0F, "LVM_SETITEMPOSITION"},
    {0x10, "LVM_GETITEMPOSITION"},
    {0x12, "LVM_HITTEST"},
    {0x13, "LVM_ENSUREVISIBLE"},
    {0x14, "LVM_SCROLL"},
    {0x15, "LVM_REDRAWITEMS"},
    {0x16, "LVM_ARRANGE"},
    {0x17, "LVM_EDITLABELA"},
    {0x18, "LVM_GETEDITCONTROL"},
    {0x19, "LVM_GETCOLUMNA"},
    {0x1A, "LVM_SETCOLUMNA"},
    {0x1B, "LVM_INSERTCOLUMNA"},
    {0x1C, "LVM_DELETECOLUMN"},
    {0x1D, "LVM_GETCOLUMNWIDTH"},
    {0x1E, "LVM_SETCOLUMNWIDTH"},
    {0x1F, "LVM_GETHEADER"},
    {0x22, "LVM_GETVIEWRECT"},
    {0x23, "LVM_GETTEXTCOLOR"},
    {0x24, "LVM_SETTEXTCOLOR"},
    {0x25, "LVM_GETTEXTBKCOLOR"},
    {0x26, "LVM_SETTEXTBKCOLOR"},
    {0x27, "LVM_GETTOPINDEX"},
    {0x28, "LVM_GETCOUNTPERPAGE"},
    {0x29, "LVM_GETORIGIN"},
    {0x2A, "LVM_UPDATE"},
    {0x2B, "LVM_SETITEMSTATE"},
    {0x2C, "LVM_GETITEMSTATE"},
    {0x2D, "LVM_GETITEMTEXTA"},
    {0x2E, "LVM_SETITEMTEXTA"},
    {0x2F, "LVM_SETITEMCOUNT"},
    {0x30, "LVM_SORTITEMS"},
    {0x32, "LVM_GETSELECTEDCOUNT"},
    {0x33, "LVM_GETITEMSPACING"},
    {0x36, "LVM_SETEXTENDEDLISTVIEWSTYLE"},
    {0x37, "LVM_GETEXTENDEDLISTVIEWSTYLE"},
    {0x38, "LVM_GETSUBITEMRECT"},
    {0x39, "LVM_SUBITEMHITTEST"},
    {0x3A, "LVM_SETCOLUMNORDERARRAY"},
    {0x3B, "LVM_GETCOLUMNORDERARRAY"},
    {0x3C, "LVM_SETHOTITEM"},
    {0x3D, "LVM_GETHOTITEM"},
    {0x4B, "LVM_GETITEMW"},
    {0x4C, "LVM_SETITEMW"},
    {0x4D, "LVM_INSERTITEMW"},
    {0x53, "LVM_FINDITEMW"},
    {0x5F, "LVM_GETCOLUMNW"},
    {0x60, "LVM_SETCOLUMNW"},
    {0x61, "LVM_INSERTCOLUMNW"},
    {0x73, "LVM_GETITEMTEXTW"},
    {0x74, "LVM_SETITEMTEXTW"},
    {0x76, "LVM_EDITLABELW"},
    {0x8E, "LVM_SETVIEW"},
    {0x8F, "LVM_GETVIEW"},
};

// Offsets from TVM_FIRST (0x1100).
constexpr Named kTreeViewMessages[] = {
    {0x00, "TVM_INSERTITEMA"},     {0x01, "TVM_DELETEITEM"},
    {0x02, "TVM_EXPAND"},          {0x04, "TVM_GETITEMRECT"},
    {0x05, "TVM_GETCOUNT"},        {0x06, "TVM_GETINDENT"},
    {0x07, "TVM_SETINDENT"},       {0x08, "TVM_GETIMAGELIST"},
    {0x09, "TVM_SETIMAGELIST"},    {0x0A, "TVM_GETNEXTITEM"},
    {0x0B, "TVM_SELECTITEM"},      {0x0C, "TVM_GETITEMA"},
    {0x0D, "TVM_SETITEMA"},        {0x0E, "TVM_EDITLABELA"},
    {0x0F, "TVM_GETEDITCONTROL"},  {0x10, "TVM_GETVISIBLECOUNT"},
    {0x11, "TVM_HITTEST"},         {0x12, "TVM_CREATEDRAGIMAGE"},
    {0x13, "TVM_SORTCHILDREN"},    {0x14, "TVM_ENSUREVISIBLE"},
    {0x16, "TVM_ENDEDITLABELNOW"}, {0x1B, "TVM_SETITEMHEIGHT"},
    {0x1C, "TVM_GETITEMHEIGHT"},   {0x1D, "TVM_SETBKCOLOR"},
    {0x1E, "TVM_SETTEXTCOLOR"},    {0x1F, "TVM_GETBKCOLOR"},
    {0x20, "TVM_GETTEXTCOLOR"},    {0x27, "TVM_GETITEMSTATE"},
    {0x32, "TVM_INSERTITEMW"},     {0x3E, "TVM_GETITEMW"},
    {0x3F, "TVM_SETITEMW"},        {0x41, "TVM_EDITLABELW"},
};

constexpr Named kVirtualKeys[] = {
    {0x01, "VK_LBUTTON"},   {0x02, "VK_RBUTTON"},    {0x03, "VK_CANCEL"},
    {0x04, "VK_MBUTTON"},   {0x08, "VK_BACK"},       {0x09, "VK_TAB"},
    {0x0C, "VK_CLEAR"},     {0x0D, "VK_RETURN"},     {0x10, "VK_SHIFT"},
    {0x11, "VK_CONTROL"},   {0x12, "VK_MENU"},       {0x13, "VK_PAUSE"},
    {0x14, "VK_CAPITAL"},   {0x1B, "VK_ESCAPE"},     {0x20, "VK_SPACE"},
    {0x21, "VK_PRIOR"},     {0x22, "VK_NEXT"},       {0x23, "VK_END"},
    {0x24, "VK_HOME"},      {0x25, "VK_LEFT"},       {0x26, "VK_UP"},
    {0x27, "VK_RIGHT"},     {0x28, "VK_DOWN"},       {0x29, "VK_SELECT"},
    {0x2A, "VK_PRINT"},     {0x2B, "VK_EXECUTE"},    {0x2C, "VK_SNAPSHOT"},
    {0x2D, "VK_INSERT"},    {0x2E, "VK_DELETE"},     {0x2F, "VK_HELP"},
    {0x5B, "VK_LWIN"},      {0x5C, "VK_RWIN"},       {0x5D, "VK_APPS"},
    {0x5F, "VK_SLEEP"},     {0x6A, "VK_MULTIPLY"},   {0x6B, "VK_ADD"},
    {0x6C, "VK_SEPARATOR"}, {0x6D, "VK_SUBTRACT"},   {0x6E, "VK_DECIMAL"},
    {0x6F, "VK_DIVIDE"},    {0x90, "VK_NUMLOCK"},    {0x91, "VK_SCROLL"},
    {0xA0, "VK_LSHIFT"},    {0xA1, "VK_RSHIFT"},     {0xA2, "VK_LCONTROL"},
    {0xA3, "VK_RCONTROL"},  {0xA4, "VK_LMENU"},      {0xA5, "VK_RMENU"},
    {0xBA, "VK_OEM_1"},     {0xBB, "VK_OEM_PLUS"},   {0xBC, "VK_OEM_COMMA"},
    {0xBD, "VK_OEM_MINUS"}, {0xBE, "VK_OEM_PERIOD"}, {0xBF, "VK_OEM_2"},
    {0xC0, "VK_OEM_3"},     {0xDB, "VK_OEM_4"},      {0xDC, "VK_OEM_5"},
    {0xDD, "VK_OEM_6"},     {0xDE, "VK_OEM_7"},
};

constexpr Named kButtonCodes[] = {
    {0, "BN_CLICKED"}, {1, "BN_PAINT"},         {2, "BN_HILITE"},   {3, "BN_UNHILITE"},
    {4, "BN_DISABLE"}, {5, "BN_DOUBLECLICKED"}, {6, "BN_SETFOCUS"}, {7, "BN_KILLFOCUS"},
};
constexpr Named kEditCodes[] = {
    {0x100, "EN_SETFOCUS"}, {0x200, "EN_KILLFOCUS"}, {0x300, "EN_CHANGE"},
    {0x400, "EN_UPDATE"},   {0x500, "EN_ERRSPACE"},  {0x501, "EN_MAXTEXT"},
    {0x601, "EN_HSCROLL"},  {0x602, "EN_VSCROLL"},
};
constexpr Named kComboBoxCodes[] = {
    {0xFFFF, "CBN_ERRSPACE"}, {1, "CBN_SELCHANGE"},     {2, "CBN_DBLCLK"},
    {3, "CBN_SETFOCUS"},      {4, "CBN_KILLFOCUS"},     {5, "CBN_EDITCHANGE"},
    {6, "CBN_EDITUPDATE"},    {7, "CBN_DROPDOWN"},      {8, "CBN_CLOSEUP"},
    {9, "CBN_SELENDOK"},      {10, "CBN_SELENDCANCEL"},
};
constexpr Named kListBoxCodes[] = {
    {0xFFFE, "LBN_ERRSPACE"}, {1, "LBN_SELCHANGE"}, {2, "LBN_DBLCLK"},
    {3, "LBN_SELCANCEL"},     {4, "LBN_SETFOCUS"},  {5, "LBN_KILLFOCUS"},
};

// WM_NOTIFY codes are negative; the tables hold their magnitudes.
constexpr Named kCommonNotifyCodes[] = {
    {1, "NM_OUTOFMEMORY"},      {2, "NM_CLICK"},      {3, "NM_DBLCLK"},
    {4, "NM_RETURN"},           {5, "NM_RCLICK"},     {6, "NM_RDBLCLK"},
    {7, "NM_SETFOCUS"},         {8, "NM_KILLFOCUS"},  {12, "NM_CUSTOMDRAW"},
    {13, "NM_HOVER"},           {14, "NM_NCHITTEST"}, {15, "NM_KEYDOWN"},
    {16, "NM_RELEASEDCAPTURE"}, {17, "NM_SETCURSOR"}, {18, "NM_CHAR"},
    {19, "NM_TOOLTIPSCREATED"}, {20, "NM_LDOWN"},     {21, "NM_RDOWN"},
    {22, "NM_THEMECHANGED"},
};
constexpr Named kListViewNotifyCodes[] = {
    {100, "LVN_ITEMCHANGING"},    {101, "LVN_ITEMCHANGED"},
    {102, "LVN_INSERTITEM"},      {103, "LVN_DELETEITEM"},
    {104, "LVN_DELETEALLITEMS"},  {105, "LVN_BEGINLABELEDITA"},
    {106, "LVN_ENDLABELEDITA"},   {108, "LVN_COLUMNCLICK"},
    {109, "LVN_BEGINDRAG"},       {111, "LVN_BEGINRDRAG"},
    {113, "LVN_ODCACHEHINT"},     {114, "LVN_ITEMACTIVATE"},
    {115, "LVN_ODSTATECHANGED"},  {121, "LVN_HOTTRACK"},
    {150, "LVN_GETDISPINFOA"},    {151, "LVN_SETDISPINFOA"},
    {155, "LVN_KEYDOWN"},         {156, "LVN_MARQUEEBEGIN"},
    {157, "LVN_GETINFOTIPA"},     {158, "LVN_GETINFOTIPW"},
    {175, "LVN_BEGINLABELEDITW"}, {176, "LVN_ENDLABELEDITW"},
    {177, "LVN_GETDISPINFOW"},    {178, "LVN_SETDISPINFOW"},
};
constexpr Named kTreeViewNotifyCodes[] = {
    {401, "TVN_SELCHANGINGA"},    {402, "TVN_SELCHANGEDA"},    {403, "TVN_GETDISPINFOA"},
    {404, "TVN_SETDISPINFOA"},    {405, "TVN_ITEMEXPANDINGA"}, {406, "TVN_ITEMEXPANDEDA"},
    {407, "TVN_BEGINDRAGA"},      {408, "TVN_BEGINRDRAGA"},    {409, "TVN_DELETEITEMA"},
    {410, "TVN_BEGINLABELEDITA"}, {411, "TVN_ENDLABELEDITA"},  {412, "TVN_KEYDOWN"},
    {413, "TVN_GETINFOTIPA"},     {414, "TVN_GETINFOTIPW"},    {415, "TVN_SINGLEEXPAND"},
    {450, "TVN_SELCHANGINGW"},    {451, "TVN_SELCHANGEDW"},    {452, "TVN_GETDISPINFOW"},
    {453, "TVN_SETDISPINFOW"},    {454, "TVN_ITEMEXPANDINGW"}, {455, "TVN_ITEMEXPANDEDW"},
    {456, "TVN_BEGINDRAGW"},      {457, "TVN_BEGINRDRAGW"},    {458, "TVN_DELETEITEMW"},
    {459, "TVN_BEGINLABELEDITW"}, {460, "TVN_ENDLABELEDITW"},
};

constexpr Named kSysCommands[] = {
    {0xF000, "SC_SIZE"},      {0xF010, "SC_MOVE"},         {0xF020, "SC_MINIMIZE"},
    {0xF030, "SC_MAXIMIZE"},  {0xF040, "SC_NEXTWINDOW"},   {0xF050, "SC_PREVWINDOW"},
    {0xF060, "SC_CLOSE"},     {0xF070, "SC_VSCROLL"},      {0xF080, "SC_HSCROLL"},
    {0xF090, "SC_MOUSEMENU"}, {0xF100, "SC_KEYMENU"},      {0xF120, "SC_RESTORE"},
    {0xF130, "SC_TASKLIST"},  {0xF140, "SC_SCREENSAVE"},   {0xF150, "SC_HOTKEY"},
    {0xF160, "SC_DEFAULT"},   {0xF170, "SC_MONITORPOWER"}, {0xF180, "SC_CONTEXTHELP"},
};

constexpr std::uint32_t kUser = 0x0400;
constexpr std::uint32_t kApp = 0x8000;
constexpr std::uint32_t kRegisteredFirst = 0xC000;
constexpr std::uint32_t kListViewFirst = 0x1000;
constexpr std::uint32_t kTreeViewFirst = 0x1100;

const char* Find(std::span<const Named> table, std::uint32_t value) {
  const auto found = std::ranges::find_if(
      table, [value](const Named& named) { return named.value == value; });
  return found == table.end() ? nullptr : found->name;
}

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%0*X", digits, value);
  return text;
}

bool SameClass(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
  });
}

// The table of a standard control's own messages, by its class; nullptr for
// other classes.
std::span<const Named> ControlTable(std::string_view class_name, std::uint32_t& first) {
  if (SameClass(class_name, "SysListView32")) {
    first = kListViewFirst;
    return kListViewMessages;
  }
  if (SameClass(class_name, "SysTreeView32")) {
    first = kTreeViewFirst;
    return kTreeViewMessages;
  }
  return {};
}

}  // namespace

bool IsRegisteredMessage(std::uint32_t message) {
  return message >= kRegisteredFirst && message <= 0xFFFF;
}

std::string MessageName(std::uint32_t message, std::string_view class_name,
                        std::string_view registered_name) {
  if (const char* name = Find(kWindowMessages, message)) return name;
  std::uint32_t first = 0;
  const std::span<const Named> control = ControlTable(class_name, first);
  if (message >= first && !control.empty()) {
    if (const char* name = Find(control, message - first)) return name;
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
  std::span<const Named> table;
  if (SameClass(control_class, "Button")) {
    table = kButtonCodes;
  } else if (SameClass(control_class, "Edit")) {
    table = kEditCodes;
  } else if (SameClass(control_class, "ComboBox")) {
    table = kComboBoxCodes;
  } else if (SameClass(control_class, "ListBox") ||
             SameClass(control_class, "ComboLBox")) {
    table = kListBoxCodes;
  }
  if (const char* name = Find(table, code)) return name;
  return "code " + std::to_string(code);
}

std::string NotifyCodeName(std::int32_t code, std::string_view sender_class) {
  const std::uint32_t magnitude =
      code < 0 ? static_cast<std::uint32_t>(-(code + 1)) + 1 : 0;
  std::span<const Named> own;
  if (SameClass(sender_class, "SysListView32")) own = kListViewNotifyCodes;
  if (SameClass(sender_class, "SysTreeView32")) own = kTreeViewNotifyCodes;
  if (magnitude != 0) {
    if (const char* name = Find(kCommonNotifyCodes, magnitude)) return name;
    if (const char* name = Find(own, magnitude)) return name;
  }
  return "code " + std::to_string(code);
}

std::string SysCommandName(std::uint32_t command) {
  if (const char* name = Find(kSysCommands, command & 0xFFF0)) return name;
  return Hex(command, 4);
}

}  // namespace winscout::inspector
