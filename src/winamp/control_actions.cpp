#include "winamp/control_actions.h"
namespace tunebridge {
void cmdTrackPrev_Click(FormControls&, clsWinamp&) {}
void cmdTrackNext_Click(FormControls&, clsWinamp&) {}
void cmdTrackPlay_Click(FormControls&, clsWinamp&) {}
void cmdTrackPause_Click(FormControls&, clsWinamp&) {}
void cmdTrackStop_Click(FormControls&, clsWinamp&) {}
void cmdTrackFadeout_Click(FormControls&, clsWinamp&) {}
void cmdTrackStopAfter_Click(FormControls&, clsWinamp&) {}
void cmdFRewind_Click(FormControls&, clsWinamp&) {}
void cmdTrackFForward_Click(FormControls&, clsWinamp&) {}
void cmdTrackOpenFile_Click(FormControls&, clsWinamp&) {}
void cmdTrackOpenURL_Click(FormControls&, clsWinamp&) {}
void DoVolRaise(FormControls&, clsWinamp&) {}
void DoVolLower(FormControls&, clsWinamp&) {}
}  // namespace tunebridge
