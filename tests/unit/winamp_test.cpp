#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "fake/fake_desktop.h"
#include "winamp/player_actions.h"
#include "winamp/player_remote.h"
#include "winamp/player_requests.h"

namespace tunebridge {
namespace {

using namespace fake;

// A player window behind a window titled like its class. A command's answer is its id
// negated, so that an answer passed on unchanged shows, sign included.
struct Player : ::testing::Test {
    Player() {
        desktop.Window(window).handler = [this](FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            return m.msg == kCommand ? -static_cast<std::int32_t>(m.wParam) : requestAnswer;
        };
        requests.SetWindow(window);
    }

    FakeDesktop desktop;
    Hwnd decoy = desktop.CreateWindow("Other", "Winamp v1.x");
    Hwnd window = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    std::int32_t requestAnswer = 0;
    PlayerRequests requests{desktop};
};

TEST_F(Player, AnActionShowsTheOperationsNameSendsItsCommandAndShowsTheAnswer) {
    const std::tuple<PlayerOperation, const char*, std::uint32_t> spotChecks[] = {
        {PlayerOperation::TrackPrev, "TrackPrev", 40044},
        {PlayerOperation::TrackFRewind, "TrackFRewind", 40144},
        {PlayerOperation::MiscClose, "MiscClose", 40001},
    };
    PlayerRemote remote(desktop);
    for (const auto& [operation, name, id] : spotChecks) {
        desktop.messages.clear();
        ActionReadout readout;
        RunPlayerAction(remote, operation, readout);
        EXPECT_EQ(desktop.messages, (std::vector<Message>{{window, kCommand, id, 0, ""}}));
        EXPECT_EQ(std::tie(readout.lastAction, readout.lastAnswer), std::tuple(name, "-" + std::to_string(id)));
    }
}

TEST_F(Player, RequestsCarryTheirNumberAndArgumentAndThePositionRoundsDown) {
    requests.Info(4);
    requests.SetPlaylistPos(-1);
    requests.JumpToTime(83, 250);
    EXPECT_THROW(requests.JumpToTime(2147484, 0), RuntimeError);
    EXPECT_EQ(desktop.messages, (std::vector<Message>{{window, kUser, 0, 105, ""},
                                                      {window, kUser, 0xFFFFFFFFu, 121, ""},
                                                      {window, kUser, 83250, 106, ""}}));
    for (const auto& [ms, seconds] : {std::pair{83999, 83}, {-1, -1}, {-1000, -1}, {-1001, -2}}) {
        requestAnswer = ms;
        EXPECT_EQ(requests.PlayingSeconds(), seconds) << ms;
    }
}

// A player closed and started again is found again by its class, by both.
TEST_F(Player, ARestartedPlayerIsFoundAgainByTheRemoteAndTheRequests) {
    PlayerRemote remote(desktop);
    desktop.DestroyWindow(window);
    const Hwnd restarted = desktop.CreateWindow("Winamp v1.x", "2. Other - Winamp");
    desktop.messages.clear();
    EXPECT_EQ(remote.Caption(), "2. Other - Winamp");
    remote.Send(PlayerOperation::TrackPlay);
    requests.Info(4);
    EXPECT_EQ(desktop.messages, (std::vector<Message>{{restarted, kCommand, 40045, 0, ""}, {restarted, kUser, 0, 105, ""}}));
}

} // namespace
} // namespace tunebridge
