#include "winamp/control_actions.h"

#include <cstdint>
#include <string>

namespace tunebridge {
namespace {

// A remote operation as the actions show it: the name `lblaction` displays
// is kept beside the member it names, so the two cannot drift apart.
struct RemoteOperation {
    const char* name;
    std::int32_t (clsWinamp::*call)();
};

constexpr RemoteOperation kTrackPrev{"TrackPrev", &clsWinamp::TrackPrev};
constexpr RemoteOperation kTrackNext{"TrackNext", &clsWinamp::TrackNext};
constexpr RemoteOperation kTrackPlay{"TrackPlay", &clsWinamp::TrackPlay};
constexpr RemoteOperation kTrackPause{"TrackPause", &clsWinamp::TrackPause};
constexpr RemoteOperation kTrackStop{"TrackStop", &clsWinamp::TrackStop};
constexpr RemoteOperation kTrackFadeout{"TrackFadeout", &clsWinamp::TrackFadeout};
constexpr RemoteOperation kTrackStopAfter{"TrackStopAfter", &clsWinamp::TrackStopAfter};
constexpr RemoteOperation kTrackFRewind{"TrackFRewind", &clsWinamp::TrackFRewind};
constexpr RemoteOperation kTrackFForward{"TrackFForward", &clsWinamp::TrackFForward};
constexpr RemoteOperation kTrackOpenFile{"TrackOpenFile", &clsWinamp::TrackOpenFile};
constexpr RemoteOperation kTrackOpenURL{"TrackOpenURL", &clsWinamp::TrackOpenURL};
constexpr RemoteOperation kVolRaise{"VolRaise", &clsWinamp::VolRaise};
constexpr RemoteOperation kVolLower{"VolLower", &clsWinamp::VolLower};

// The name goes up before the send so that it is already shown while
// Winamp handles the command; the answer follows once it has.
void Run(const RemoteOperation& operation, FormControls& form, clsWinamp& winamp) {
    form.lblaction = operation.name;
    const std::int32_t answer = (winamp.*operation.call)();
    form.lblretval = std::to_string(answer);
}

}  // namespace

void cmdTrackPrev_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackPrev, form, winamp); }
void cmdTrackNext_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackNext, form, winamp); }
void cmdTrackPlay_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackPlay, form, winamp); }
void cmdTrackPause_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackPause, form, winamp); }
void cmdTrackStop_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackStop, form, winamp); }
void cmdTrackFadeout_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackFadeout, form, winamp); }
void cmdTrackStopAfter_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackStopAfter, form, winamp); }
void cmdFRewind_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackFRewind, form, winamp); }
void cmdTrackFForward_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackFForward, form, winamp); }
void cmdTrackOpenFile_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackOpenFile, form, winamp); }
void cmdTrackOpenURL_Click(FormControls& form, clsWinamp& winamp) { Run(kTrackOpenURL, form, winamp); }
void DoVolRaise(FormControls& form, clsWinamp& winamp) { Run(kVolRaise, form, winamp); }
void DoVolLower(FormControls& form, clsWinamp& winamp) { Run(kVolLower, form, winamp); }

}  // namespace tunebridge
