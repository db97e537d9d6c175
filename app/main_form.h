#pragma once

#include <array>

#include "platform/toolkit.h"

namespace winscout::app {

// Control IDs, also the IDs the controls carry on the desktop; named for the
// controls' roles (their form names stand in kControls).
namespace control {
inline constexpr int kCodeFrame = 100;  // the left pane
inline constexpr int kCodeArrow = 101;  // dragged onto a window to write its code
inline constexpr int kCodeBox = 102;    // the generated code
inline constexpr int kApiButton = 103;  // "API": the wide layout
inline constexpr int kHandleBox = 104;  // hidden: the handle of the window picked
inline constexpr int kInspectorArrow = 110;
inline constexpr int kCodeButton = 111;  // "code": the narrow layout
inline constexpr int kStartButton = 112;
inline constexpr int kStopButton = 113;
inline constexpr int kReportLine1 = 120;
inline constexpr int kReportLine2 = 121;
inline constexpr int kReportLine3 = 122;
inline constexpr int kReportLine4 = 123;
inline constexpr int kReportLine5 = 124;
inline constexpr int kReportLine6 = 125;
inline constexpr int kReportLine7 = 126;
inline constexpr int kReportLine8 = 127;
inline constexpr int kArrowHolder = 130;  // hidden: the one store of the arrow image
inline constexpr int kLiveTimer = 140;    // live inspection's tick
inline constexpr int kScriptTimer = 141;  // Try it on a script: its next look
inline constexpr int kRecordTimer = 142;  // a recording's look between steps
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
        control::kCodeFrame, "Frame1", ControlKind::kFrame, 0, "", {0, 0, 4275, 2775}, 0},
    ControlSpec{control::kCodeArrow,
                "Picture1",
                ControlKind::kPictureBox,
                control::kCodeFrame,
                "",
                {120, 300, 495, 495},
                1},
    ControlSpec{control::kCodeBox,
                "Text4",
                ControlKind::kCodeBox,
                control::kCodeFrame,
                "",
                {720, 240, 3495, 2415},
                18},
    ControlSpec{control::kApiButton,
                "Command4",
                ControlKind::kButton,
                control::kCodeFrame,
                "API",
                {120, 2040, 495, 255},
                31},
    ControlSpec{control::kHandleBox,
                "txtHandle",
                ControlKind::kTextBox,
                control::kCodeFrame,
                "",
                {1680, 2640, 150, 285},
                19,
                false},
    ControlSpec{control::kInspectorArrow,
                "Picture3",
                ControlKind::kPictureBox,
                0,
                "",
                {4320, 240, 495, 495},
                30},
    ControlSpec{control::kCodeButton,
                "Command5",
                ControlKind::kButton,
                0,
                "code",
                {4320, 1920, 495, 255},
                32},
    ControlSpec{control::kStartButton,
                "Command2",
                ControlKind::kButton,
                0,
                "Start",
                {4320, 2280, 495, 255},
                28},
    ControlSpec{control::kStopButton,
                "Command3",
                ControlKind::kButton,
                0,
                "Stop",
                {4320, 2520, 495, 255},
                29},
    ControlSpec{control::kReportLine1,
                "Text5",
                ControlKind::kTextBox,
                0,
                "Window Text:",
                {4920, 0, 4455, 285},
                20},
    ControlSpec{control::kReportLine2,
                "Text6",
                ControlKind::kTextBox,
                0,
                "Window Class Name:",
                {4920, 360, 4455, 285},
                21},
    ControlSpec{control::kReportLine3,
                "Text7",
                ControlKind::kTextBox,
                0,
                "Window Text:",
                {4920, 720, 4455, 285},
                22},
    ControlSpec{control::kReportLine4,
                "Text8",
                ControlKind::kTextBox,
                0,
                "Window ID Number:",
                {4920, 1080, 4455, 285},
                23},
    ControlSpec{control::kReportLine5,
                "Text9",
                ControlKind::kTextBox,
                0,
                "Parent Window Handle:",
                {4920, 1440, 4455, 285},
                24},
    ControlSpec{control::kReportLine6,
                "Text10",
                ControlKind::kTextBox,
                0,
                "Parent Window Text:",
                {4920, 1800, 4455, 285},
                25},
    ControlSpec{control::kReportLine7,
                "Text11",
                ControlKind::kTextBox,
                0,
                "Parent Window Class Name: ",
                {4920, 2160, 4455, 285},
                26},
    ControlSpec{control::kReportLine8,
                "Text12",
                ControlKind::kTextBox,
                0,
                "Module:",
                {4920, 2520, 4455, 285},
                27},
    ControlSpec{control::kArrowHolder,
                "picture2",
                ControlKind::kImage,
                0,
                kArrowImage,
                {3240, 2880, 480, 480},
                0,
                false},
    ControlSpec{
        control::kLiveTimer, "Timer2", ControlKind::kTimer, 0, "", {}, 0, false, 5},
    ControlSpec{
        control::kRecordTimer, "Timer4", ControlKind::kTimer, 0, "", {}, 0, false, 250},
    // Ticks every inspector::kScriptPollMs.
    ControlSpec{
        control::kScriptTimer, "Timer3", ControlKind::kTimer, 0, "", {}, 0, false, 100},
};

// Topmost, so that the window it inspects never hides it.
inline constexpr FormSpec kMainForm{kCaption, kNarrowClientWidth, kClientHeight,
                                    kControls, true};

}  // namespace winscout::app
