#pragma once

#include <array>

#include "platform/toolkit.h"

namespace winscout::app {

// Control IDs, also the IDs the controls carry on the desktop.
namespace control {
inline constexpr int kFrame1 = 100;
inline constexpr int kPicture1 = 101;
inline constexpr int kText4 = 102;
inline constexpr int kCommand4 = 103;
inline constexpr int kTxtHandle = 104;
inline constexpr int kPicture3 = 110;
inline constexpr int kCommand5 = 111;
inline constexpr int kCommand2 = 112;
inline constexpr int kCommand3 = 113;
inline constexpr int kText5 = 120;
inline constexpr int kText6 = 121;
inline constexpr int kText7 = 122;
inline constexpr int kText8 = 123;
inline constexpr int kText9 = 124;
inline constexpr int kText10 = 125;
inline constexpr int kText11 = 126;
inline constexpr int kText12 = 127;
inline constexpr int kPicture2 = 130;
inline constexpr int kTimer2 = 140;
}  // namespace control

inline constexpr std::string_view kCaption = "WinScout By The WinScout Authors";
// Client widths of the two layouts; the height never changes.
inline constexpr int kNarrowClientWidth = 4290;
inline constexpr int kWideClientWidth = 9420;
inline constexpr int kClientHeight = 2865;

inline constexpr std::string_view kArrowImage = "arrow";

// Every control of the main window with its initial state, in creation order.
inline constexpr std::array kControls = {
    ControlSpec{
        control::kFrame1, "Frame1", ControlKind::kFrame, 0, "", {0, 0, 4275, 2775}, 0},
    ControlSpec{control::kPicture1,
                "Picture1",
                ControlKind::kPictureBox,
                control::kFrame1,
                "",
                {120, 300, 495, 495},
                1},
    ControlSpec{control::kText4,
                "Text4",
                ControlKind::kCodeBox,
                control::kFrame1,
                "",
                {720, 240, 3495, 2415},
                18},
    ControlSpec{control::kCommand4,
                "Command4",
                ControlKind::kButton,
                control::kFrame1,
                "API",
                {120, 2040, 495, 255},
                31},
    ControlSpec{control::kTxtHandle,
                "txtHandle",
                ControlKind::kTextBox,
                control::kFrame1,
                "",
                {1680, 2640, 150, 285},
                19,
                false},
    ControlSpec{control::kPicture3,
                "Picture3",
                ControlKind::kPictureBox,
                0,
                "",
                {4320, 240, 495, 495},
                30},
    ControlSpec{control::kCommand5,
                "Command5",
                ControlKind::kButton,
                0,
                "code",
                {4320, 1920, 495, 255},
                32},
    ControlSpec{control::kCommand2,
                "Command2",
                ControlKind::kButton,
                0,
                "Start",
                {4320, 2280, 495, 255},
                28},
    ControlSpec{control::kCommand3,
                "Command3",
                ControlKind::kButton,
                0,
                "Stop",
                {4320, 2520, 495, 255},
                29},
    ControlSpec{control::kText5,
                "Text5",
                ControlKind::kTextBox,
                0,
                "Window Text:",
                {4920, 0, 4455, 285},
                20},
    ControlSpec{control::kText6,
                "Text6",
                ControlKind::kTextBox,
                0,
                "Window Class Name:",
                {4920, 360, 4455, 285},
                21},
    ControlSpec{control::kText7,
                "Text7",
                ControlKind::kTextBox,
                0,
                "Window Text:",
                {4920, 720, 4455, 285},
                22},
    ControlSpec{control::kText8,
                "Text8",
                ControlKind::kTextBox,
                0,
                "Window ID Number:",
                {4920, 1080, 4455, 285},
                23},
    ControlSpec{control::kText9,
                "Text9",
                ControlKind::kTextBox,
                0,
                "Parent Window Handle:",
                {4920, 1440, 4455, 285},
                24},
    ControlSpec{control::kText10,
                "Text10",
                ControlKind::kTextBox,
                0,
                "Parent Window Text:",
                {4920, 1800, 4455, 285},
                25},
    ControlSpec{control::kText11,
                "Text11",
                ControlKind::kTextBox,
                0,
                "Parent Window Class Name: ",
                {4920, 2160, 4455, 285},
                26},
    ControlSpec{control::kText12,
                "Text12",
                ControlKind::kTextBox,
                0,
                "Module:",
                {4920, 2520, 4455, 285},
                27},
    ControlSpec{control::kPicture2,
                "picture2",
                ControlKind::kImage,
                0,
                kArrowImage,
                {3240, 2880, 480, 480},
                0,
                false},
    ControlSpec{control::kTimer2, "Timer2", ControlKind::kTimer, 0, "", {}, 0, false, 5},
};

inline constexpr FormSpec kMainForm{kCaption, kNarrowClientWidth, kClientHeight,
                                    kControls};

}  // namespace winscout::app
