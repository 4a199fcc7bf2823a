#pragma once

#include "app/form_controls.h"
#include "winamp/cls_winamp.h"

namespace tunebridge {

// The main window's Winamp actions: `lblaction` = the operation's name, the
// command through the remote, `lblretval` = the answer.
void cmdTrackPrev_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackNext_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackPlay_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackPause_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackStop_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackFadeout_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackStopAfter_Click(FormControls& form, clsWinamp& winamp);
void cmdFRewind_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackFForward_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackOpenFile_Click(FormControls& form, clsWinamp& winamp);
void cmdTrackOpenURL_Click(FormControls& form, clsWinamp& winamp);
void DoVolRaise(FormControls& form, clsWinamp& winamp);
void DoVolLower(FormControls& form, clsWinamp& winamp);

} // namespace tunebridge
