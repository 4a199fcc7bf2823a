#pragma once

// Control ids of the program's windows, in one place: the windows' layout
// tables take them from here, and so do the end-to-end tests that find a
// control by its id. An id never changes meaning; new controls get new ids.
namespace tunebridge::control_id {

// Main window. Ids stay clear of IDOK (1) and IDCANCEL (2), which the
// dialog keys send.
inline constexpr int kQuit = 1000;            // cmdEnd
inline constexpr int kAbout = 1001;           // cmdInfo
inline constexpr int kSettings = 1002;        // cmdSettings
inline constexpr int kDefaults = 1003;        // cmdSetOSPDefaults
inline constexpr int kPlayerFrame = 1004;     // fraTimer1
inline constexpr int kSongTitle = 1005;       // Label1
inline constexpr int kPlayerCaption = 1006;   // song
inline constexpr int kLastActionTitle = 1007; // Label2
inline constexpr int kLastAction = 1008;      // lblaction
inline constexpr int kConsoleText = 1009;     // ChatText
inline constexpr int kLastAnswer = 1010;      // lblretval
inline constexpr int kReportTime = 1011;      // txtreporttime
inline constexpr int kConsoleStatus = 1012;   // lblPlatform
inline constexpr int kTrackLine = 1013;       // quakec
inline constexpr int kClassName = 1014;       // Text1
inline constexpr int kConsoleTitle = 1015;    // Text2
inline constexpr int kUnused = 1016;          // Command1
inline constexpr int kTrackFrame = 1017;      // fraMsg
inline constexpr int kTrackPrev = 1018;       // cmdTrackPrev
inline constexpr int kTrackNext = 1019;       // cmdTrackNext
inline constexpr int kTrackPlay = 1020;       // cmdTrackPlay
inline constexpr int kTrackPause = 1021;      // cmdTrackPause
inline constexpr int kTrackStop = 1022;       // cmdTrackStop
inline constexpr int kTrackFadeout = 1023;    // cmdTrackFadeout
inline constexpr int kTrackStopAfter = 1024;  // cmdTrackStopAfter
inline constexpr int kTrackRewind = 1025;     // cmdFRewind
inline constexpr int kTrackForward = 1026;    // cmdTrackFForward
inline constexpr int kTrackOpenFile = 1027;   // cmdTrackOpenFile
inline constexpr int kTrackOpenUrl = 1028;    // cmdTrackOpenURL

// Settings dialog. A control array takes consecutive ids from its first:
// element n of txtKey is kKeyBoxFirst + n.
inline constexpr int kSettingsOk = 2000;               // cmdOK
inline constexpr int kSettingsCancel = 2001;           // cmdCancel
inline constexpr int kKeyFrame = 2002;                 // fraTimerKeys
inline constexpr int kKeyCaptionFirst = 2010;          // lblTimerKey(0..6)
inline constexpr int kKeyBoxFirst = 2020;              // txtKey(0..6)
inline constexpr int kShiftIndicator = 2030;           // shpShift
inline constexpr int kAltIndicator = 2031;             // ShpAlt
inline constexpr int kCtrlIndicator = 2032;            // ShpCtrl
inline constexpr int kUniqueWordTitle = 2033;          // "Unique:"
inline constexpr int kUniqueWord = 2034;               // Text1
inline constexpr int kBindHint = 2035;                 // lblinfo
inline constexpr int kColorFrame = 2040;               // Frame1
inline constexpr int kPreviewBox = 2041;               // Picture1
inline constexpr int kPreviewLabelFirst = 2050;        // lblDisp(0..11)
inline constexpr int kColorButtonFirst = 2070;         // cmdColor(0..9)
inline constexpr int kDisplayFrame = 2080;             // Frame2
inline constexpr int kDisplayOnChange = 2081;          // Option1(0)
inline constexpr int kDisplayEvery = 2082;             // Option1(1)
inline constexpr int kRepeatSeconds = 2083;            // txtSecs
inline constexpr int kRepeatSecondsUnit = 2084;        // "Sec."
inline constexpr int kSensorColorFrame = 2090;         // Frame3
inline constexpr int kSensorPreviewBox = 2091;         // Picture2
inline constexpr int kSensorPreviewLabelFirst = 2100;  // lblMBM(0..13)
inline constexpr int kSensorColorButtonFirst = 2120;   // cmdColor(10..19)
inline constexpr int kSensorFrame = 2130;              // Frame4
inline constexpr int kSensorRed = 2131;                // chkFanCpuRed
inline constexpr int kCpuLimitTitle = 2132;            // "CPU"
inline constexpr int kCpuLimit = 2133;                 // txtCPUover
inline constexpr int kFanLowTitle = 2134;              // "FAN L."
inline constexpr int kFanLow = 2135;                   // txtFanLow
inline constexpr int kFanHighTitle = 2136;             // "FAN H."
inline constexpr int kFanHigh = 2137;                  // txtFanHigh
inline constexpr int kSensorChoiceFirst = 2140;        // chkMBMoptions(0..10)
inline constexpr int kSensorOnWarning = 2151;          // OptMBMDisplay(0)
inline constexpr int kSensorEvery = 2152;              // OptMBMDisplay(1)
inline constexpr int kSensorSeconds = 2153;            // txtMBMsecs
inline constexpr int kSensorSecondsUnit = 2154;        // "Sec."

// About box.
inline constexpr int kAboutOk = 3000;                  // cmdOK
inline constexpr int kAboutIcon = 3001;                // picIcon
inline constexpr int kProductName = 3002;              // Programmname
inline constexpr int kVersion = 3003;                  // lblVersion
inline constexpr int kDescription = 3004;              // lblDescription
inline constexpr int kUpperSeparator = 3005;           // Line1(2), Line1(3)
inline constexpr int kDevelopmentTitle = 3006;         // lblCategory
inline constexpr int kCreditsYear = 3007;              // credits label
inline constexpr int kFeedbackMail = 3008;             // lblDevMail1
inline constexpr int kCreditsName = 3009;              // second credits label
inline constexpr int kIcq = 3010;                      // lblICQ1
inline constexpr int kLowerSeparator = 3011;           // Line1(0), Line1(1)
inline constexpr int kLegalNote = 3012;                // lblLegal

} // namespace tunebridge::control_id
