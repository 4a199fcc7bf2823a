#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/runtime_error.h"
#include "app/startup_services.h"
#include "fake/fake_desktop.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::MessageBoxCall;
using fake::ProgramEnded;

constexpr const char* kWinampClass = "Winamp v1.x";
constexpr Hwnd kSelf = 0x2000;
const std::string kExe = "C:\\Program Files\\winamp\\winamp.exe";
const std::string kIni = "C:\\Tunebridge\\tunebridge.ini";
const std::string kPathMessage = "The winamp path provided is incorrect.  Please specify a correct path";
const std::string kTimeoutMessage =
    "Winamp failed to open in the time given.  Please contact the program creator for more information";

// A message box as "title|text|style", so that the boxes shown compare as one list.
std::string Box(const std::string& text, const std::string& title = "Tunebridge", unsigned style = kMB_OK) {
    return title + "|" + text + "|" + std::to_string(style);
}
std::vector<std::string> Boxes(const FakeDesktop& desktop) {
    std::vector<std::string> boxes;
    for (const MessageBoxCall& box : desktop.messageBoxes) boxes.push_back(Box(box.text, box.title, box.style));
    return boxes;
}

// ---- DirectSound

TEST(InitDirectSound, EachFailureEndsTheProgramWithItsMessage) {
    struct Case {
        std::int32_t create;
        std::int32_t level;
        std::string box;
        std::size_t levelCalls;
    };
    const Case cases[] = {
        {static_cast<std::int32_t>(0x80070057u), 0, Box("Gat ekki stillt DirectSound"), 0},
        {0, static_cast<std::int32_t>(0x88780032u),
         Box("DirectSound could not take the priority level for this window (HRESULT 0x88780032).", "Tunebridge",
             kMB_OK | kMB_ICONERROR), 1},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop;
        desktop.directSoundCreateResult = c.create;
        desktop.cooperativeLevelResult = c.level;
        EXPECT_THROW(InitDirectSound(desktop, kSelf), ProgramEnded);
        EXPECT_EQ(Boxes(desktop), std::vector<std::string>{c.box});
        EXPECT_EQ(desktop.cooperativeLevelCalls.size(), c.levelCalls);
    }
}

// ---- launch check

struct Launch : ::testing::Test {
    Launch() { state.sWinampExe = kExe; }
    FakeDesktop desktop;
    SharedState state;
};

TEST_F(Launch, ComplainsAboutThePathOnlyWhenNoPlayerIsRunning) {
    struct Case {
        bool running;
        bool installed;
        bool pathMessage;
    };
    for (const Case c : {Case{true, true, false}, Case{true, false, false}, Case{false, false, true}}) {
        SCOPED_TRACE(testing::Message() << "running " << c.running << ", installed " << c.installed);
        FakeDesktop desktop;
        const Hwnd player = c.running ? desktop.CreateWindow(kWinampClass, "") : 0;
        if (c.installed) desktop.AddFile(kExe);
        CheckWinamp(desktop, state);
        EXPECT_EQ(state.hWinampWnd, player);
        EXPECT_TRUE(desktop.processStarts.empty());
        EXPECT_EQ(Boxes(desktop), c.pathMessage ? std::vector<std::string>{Box(kPathMessage)} : std::vector<std::string>{});
    }
}

TEST_F(Launch, StartsThePlayerMinimisedAndWaitsForItsWindowWithoutSpinning) {
    desktop.AddFile(kExe);
    Hwnd player = 0;
    desktop.onYield = [&] {
        if (desktop.waits == 25) player = desktop.CreateWindow(kWinampClass, "");
    };
    CheckWinamp(desktop, state);

    ASSERT_EQ(desktop.processStarts.size(), 1u);
    EXPECT_EQ(std::make_pair(desktop.processStarts[0].path, desktop.processStarts[0].showStyle), std::make_pair(kExe, 2));
    EXPECT_EQ(state.hWinampWnd, player);
    EXPECT_EQ(desktop.waits, 25);
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(Launch, APlayerThatNeverAppearsEndsTheProgramAfterAMinute) {
    desktop.AddFile(kExe);
    const std::uint64_t start = desktop.TickCountMs();
    EXPECT_THROW(CheckWinamp(desktop, state), ProgramEnded);
    EXPECT_NEAR(static_cast<double>(desktop.TickCountMs() - start), 60050, 50) << "waited on the fake clock";
    EXPECT_EQ(Boxes(desktop), std::vector<std::string>{Box(kTimeoutMessage)});
}

TEST_F(Launch, AFailedProcessStartIsSwallowed) {
    desktop.AddFile(kExe);
    desktop.onCreateProcess = [](const fake::ProcessStart&) {
        throw RuntimeError(53, "File not found", "CheckWinamp");
    };
    EXPECT_NO_THROW(CheckWinamp(desktop, state));
    EXPECT_EQ(state.hWinampWnd, 0u);
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

// ---- start-up sequence

struct Startup : ::testing::Test {
    Startup() { desktop.specialFolders[38] = "C:\\Program Files"; }
    Hwnd StartPlayer() { return desktop.CreateWindow(kWinampClass, "1. Song - Winamp"); }
    bool IsRetryBox(const MessageBoxCall& box) const { return box.title == "Error -2147221503:"; }

    FakeDesktop desktop;
    SharedState state;
    MainForm form{desktop, state};
};

TEST_F(Startup, WithThePlayerRunningTheSequenceCompletesAndEndSaves) {
    const Hwnd player = StartPlayer();
    desktop.AddFile(kExe);
    state.lConsoleLen = 7;
    state.lConsoleSeenLen = 7;
    state.hConsoleOutput = 0x99;

    ASSERT_TRUE(form.Load(kSelf));
    EXPECT_EQ(desktop.cooperativeLevelCalls, (std::vector<std::pair<Hwnd, std::uint32_t>>{{kSelf, 2u}}));
    EXPECT_EQ(state.sWinampExe, kExe);
    EXPECT_EQ(state.hWinampWnd, player);
    ASSERT_TRUE(form.objWinamp.has_value());
    EXPECT_EQ(form.objWinamp->hwnd(), player);
    EXPECT_EQ(std::make_pair(state.lConsoleLen, state.lConsoleSeenLen), std::make_pair(0, 0));
    EXPECT_EQ(state.hConsoleOutput, 0u);
    EXPECT_TRUE(form.controls.Timer.enabled);
    EXPECT_TRUE(desktop.messageBoxes.empty());

    state.HotkeyCode[0] = 116;
    form.Click(ButtonId::cmdEnd);
    ASSERT_TRUE(form.UnloadRequested());
    form.Unload();
    EXPECT_EQ(desktop.Profile(kIni).Value("Keys", "Key0"), "116");
}

TEST_F(Startup, NoSoundDeviceEndsTheProgramBeforeAnythingElse) {
    desktop.directSoundCreateResult = static_cast<std::int32_t>(0x80070057u);
    desktop.AddFile(kExe);
    EXPECT_THROW(form.Load(kSelf), ProgramEnded);
    EXPECT_EQ(state.sWinampExe, "");
    EXPECT_EQ(desktop.profileIntReads + desktop.profileStringReads + desktop.profileWrites, 0);
    EXPECT_TRUE(desktop.processStarts.empty());
    EXPECT_EQ(desktop.messageBoxes.size(), 1u);
}

TEST_F(Startup, DuringTheLaunchWaitSettingsAreLoadedAndOnlyTheOtherTimersTick) {
    desktop.AddFile(kExe);
    bool checked = false;
    desktop.onYield = [&] {
        if (desktop.waits != 3 || checked) return;
        checked = true;
        EXPECT_EQ(desktop.profileIntReads, 40);
        EXPECT_FALSE(form.controls.Timer.enabled);
        EXPECT_FALSE(form.objWinamp.has_value());
        form.Tick(TimerId::Timer);
        const int yieldsBefore = desktop.yields;
        form.Tick(TimerId::Console);
        EXPECT_GT(desktop.yields, yieldsBefore) << "the console tick did not run";
        state.lConsoleLen = 12;  // as a console poll would leave it
        StartPlayer();
    };
    ASSERT_TRUE(form.Load(kSelf));
    EXPECT_TRUE(checked);
    EXPECT_EQ(form.controls.song, "00:00:00");
    EXPECT_EQ(form.controls.lblretval, "Label3");
    EXPECT_EQ(state.lConsoleLen, 0);
    EXPECT_EQ(desktop.processStarts.size(), 1u);
}

TEST_F(Startup, RetryBoxUntilThePlayerRunsThenStartUpCompletes) {
    // Not installed at the default path: the path message, then the Retry box.
    int retryBoxes = 0;
    Hwnd player = 0;
    desktop.onMessageBox = [&](const MessageBoxCall& box) {
        if (!IsRetryBox(box)) return kIDOK;
        ++retryBoxes;
        if (retryBoxes == 2) {
            player = StartPlayer();
            // Still in start-up: the read-out timer must not reach the player.
            form.Tick(TimerId::Timer);
            EXPECT_TRUE(desktop.MessagesTo(player).empty());
        }
        return kIDRETRY;
    };
    ASSERT_TRUE(form.Load(kSelf));

    const std::string retry = Box("Winamp is not running\r\nPlease run Winamp and click 'Retry'.", "Error -2147221503:", 0x35);
    EXPECT_EQ(Boxes(desktop), (std::vector<std::string>{Box(kPathMessage), retry, retry}));
    ASSERT_TRUE(form.objWinamp.has_value());
    EXPECT_EQ(form.objWinamp->hwnd(), player);
    EXPECT_EQ(state.hWinampWnd, 0u);  // only the launch check sets it
    EXPECT_TRUE(form.controls.Timer.enabled);
}

TEST_F(Startup, CancelFailsTheStartAndTheUnloadStillSaves) {
    desktop.messageBoxAnswers = {kIDOK, kIDCANCEL};
    EXPECT_FALSE(form.Load(kSelf));
    EXPECT_EQ(desktop.messageBoxes.size(), 2u);
    EXPECT_FALSE(form.objWinamp.has_value());
    EXPECT_FALSE(form.controls.Timer.enabled);

    form.Unload();
    EXPECT_EQ(desktop.profileWrites, 47);
    EXPECT_EQ(desktop.Profile(kIni).Value("Text", "Text0"), "Winamp");
}

TEST_F(Startup, ABadSettingFailsTheStartAndLeavesTheFileUntouched) {
    StartPlayer();
    const std::string original = "[Keys]\r\nKey0=70000\r\nKey1=5\r\n[Text]\r\nText0=mine\r\n";
    desktop.SetFileText(kIni, original);

    EXPECT_FALSE(form.Load(kSelf));
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);  // the bad value, no Retry box
    EXPECT_NE(desktop.messageBoxes[0].text.find("70000"), std::string::npos);
    EXPECT_FALSE(form.objWinamp.has_value());

    form.Unload();
    EXPECT_EQ(desktop.profileWrites, 0);
    EXPECT_EQ(desktop.FileText(kIni), original);
}

// ---- ticks

TEST_F(Startup, ATickDoesNotStartInsideItsOwnUnfinishedTick) {
    int depth = 0;
    int deepest = 0;
    TimerId nested = TimerId::Console;
    desktop.onYield = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (depth == 1) form.Tick(nested);
        --depth;
    };

    form.Tick(TimerId::Console);
    EXPECT_EQ(deepest, 1);

    // The guard is per timer: another timer's tick runs inside the yield.
    nested = TimerId::SupportTimer;
    deepest = 0;
    form.Tick(TimerId::Console);
    EXPECT_EQ(deepest, 2);

    // Once the tick has finished, the timer ticks again.
    nested = TimerId::Console;
    const int before = desktop.yields;
    form.Tick(TimerId::Console);
    EXPECT_GT(desktop.yields, before);
}

}  // namespace
}  // namespace tunebridge
