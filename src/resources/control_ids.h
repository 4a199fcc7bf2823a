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

} // namespace tunebridge::control_id
