#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "fake/fake_desktop.h"
#include "settings/settings_store.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;

const std::string kIni = "C:\\Tunebridge\\tunebridge.ini";

std::string DefaultFileText() {
    std::string text;
    for (const char* section : {"Keys", "SKeys", "CKeys", "AKeys"}) {
        text += std::string("[") + section + "]\r\n";
        for (int n = 0; n < 7; ++n) text += "Key" + std::to_string(n) + "=" + std::to_string(n + 1) + "\r\n";
    }
    text += "[Color]\r\n";
    for (int n = 0; n < 15; ++n) text += "Color" + std::to_string(n) + "=1\r\n";
    text += "[Text]\r\nText0=Winamp\r\nText1=Winamp\r\nText2=Winamp\r\nText3=Winamp\r\n";
    return text;
}

TEST(SettingsStore, MissingFileLoadsTheDefaultsAndASaveCreatesItWithThem) {
    FakeDesktop desktop;
    SharedState state;
    state.ColorCode[16] = 9;  // beyond the pre-fill: left alone
    LoadSettings(desktop, state);

    EXPECT_EQ(desktop.profileIntReads, 40);
    EXPECT_EQ(desktop.profileStringReads, 4);
    for (const auto* slots : {&state.HotkeyCode, &state.HotkeyShift, &state.HotkeyCtrl, &state.HotkeyAlt}) {
        EXPECT_EQ(*slots, (std::array<std::int16_t, 11>{1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0}));
    }
    EXPECT_EQ(state.ColorCode,
              (std::array<std::int16_t, 21>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 9, 0, 0, 0, 0}));
    EXPECT_EQ(state.TextSetting, (std::array<std::string, 11>{"Winamp", "Winamp", "Winamp", "Winamp"}));
    EXPECT_FALSE(desktop.HasProfile(kIni));

    SaveSettings(desktop, state);
    EXPECT_EQ(desktop.profileWrites, 47);
    EXPECT_EQ(desktop.FileText(kIni), DefaultFileText());
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST(SettingsStore, ValuesAreReadByTheProfileRules) {
    FakeDesktop desktop;
    desktop.SetFileText(kIni,
                        "[keys]\r\nKEY2=9\r\nKey3=12abc\r\nKey4=abc\r\nKey5=-1\r\n"
                        "[SKeys]\r\nKey0=16\r\nKey6=\r\n"
                        "[Color]\r\nColor3=7\r\nColor11=0\r\nColor12=5\r\nColor13=6\r\nColor14=-32768\r\n"
                        "[Text]\r\nText0=\r\nText1=  10  \r\nText2=False\r\nText3=abcdefghijklmnopqrstuvwxyz\r\n");
    SharedState state;
    LoadSettings(desktop, state);

    EXPECT_EQ(state.HotkeyCode[2], 9);   // section and key names match without regard to case
    EXPECT_EQ(state.HotkeyCode[3], 12);  // trailing text ignored
    EXPECT_EQ(state.HotkeyCode[4], 0);   // no leading digits
    EXPECT_EQ(state.HotkeyCode[5], -1);
    EXPECT_EQ(state.HotkeyShift[0], 16);
    EXPECT_EQ(state.HotkeyShift[6], 7);  // an empty number is the default
    EXPECT_EQ(state.ColorCode[3], 7);
    EXPECT_EQ(state.ColorCode[11], 0);
    for (int n : {12, 13, 14}) EXPECT_EQ(state.ColorCode[n], 1) << "Color" << n << " is never loaded";
    EXPECT_EQ(state.TextSetting[0], "");  // present but empty: not the default
    EXPECT_EQ(state.TextSetting[1], "10");
    EXPECT_EQ(state.TextSetting[2], "False");
    EXPECT_EQ(state.TextSetting[3], "abcdefghijklmnopqrs");

    SaveSettings(desktop, state);
    const fake::ProfileFile& file = desktop.Profile(kIni);
    EXPECT_EQ(file.Value("Color", "Color12"), "1");
    EXPECT_EQ(file.Value("Color", "Color14"), "1");
    EXPECT_EQ(file.Value("Keys", "Key5"), "-1");
    EXPECT_EQ(file.Value("Text", "Text0"), "");
}

TEST(SettingsStore, LongTextIsSavedWholeAndLoadsBackAsItsFirst19Characters) {
    FakeDesktop desktop;
    SharedState state;
    LoadSettings(desktop, state);
    state.TextSetting[0] = "averyveryverylonguniqueword";
    SaveSettings(desktop, state);
    EXPECT_EQ(desktop.Profile(kIni).Value("Text", "Text0"), "averyveryverylonguniqueword");

    SharedState reloaded;
    LoadSettings(desktop, reloaded);
    EXPECT_EQ(reloaded.TextSetting[0], "averyveryverylongun");
}

TEST(SettingsStore, OutOfRangeIntegerStopsTheLoadAtItsKeyAndNamesIt) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        int readsBeforeStop;
    };
    const std::vector<Case> cases = {
        {"Keys", "Key0", "70000", 1},
        {"AKeys", "Key6", "32768", 28},
        {"Color", "Color5", "-32769", 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        FakeDesktop desktop;
        desktop.SetFileText(kIni, std::string("[") + c.section + "]\r\n" + c.key + "=" + c.value + "\r\n");
        SharedState state;
        try {
            LoadSettings(desktop, state);
            ADD_FAILURE() << "no overflow";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), kErrOverflow);
            EXPECT_EQ(error.Source(), "LoadSettings");
        }
        EXPECT_EQ(desktop.profileIntReads, c.readsBeforeStop);
        EXPECT_EQ(desktop.profileStringReads, 0);
        ASSERT_EQ(desktop.messageBoxes.size(), 1u);
        const std::string& text = desktop.messageBoxes[0].text;
        for (const std::string& part : {kIni, std::string("[") + c.section + "]", std::string(c.key), std::string(c.value)})
            EXPECT_NE(text.find(part), std::string::npos) << part << " missing from: " << text;
    }
}

TEST(SettingsStore, SavingKeepsForeignKeysAndGivesTheSameBytesTwice) {
    FakeDesktop desktop;
    desktop.SetFileText(kIni, "; written by hand\r\n[Other]\r\nSomething=1\r\n[Keys]\r\nKey0=116\r\nExtra=x\r\n");
    SharedState state;
    LoadSettings(desktop, state);
    SaveSettings(desktop, state);
    const std::string once = desktop.FileText(kIni);
    SaveSettings(desktop, state);
    EXPECT_EQ(desktop.FileText(kIni), once);

    const fake::ProfileFile& file = desktop.Profile(kIni);
    EXPECT_EQ(file.Value("Other", "Something"), "1");
    EXPECT_EQ(file.Value("Keys", "Extra"), "x");
    EXPECT_EQ(file.Value("Keys", "Key0"), "116");
    EXPECT_NE(once.find("; written by hand"), std::string::npos);
}

TEST(SettingsStore, PathIsRebuiltEveryTimeWithTheSeparatorAlwaysAppended) {
    FakeDesktop desktop;
    desktop.moduleFolder = "D:";
    desktop.SetFileText("D:\\tunebridge.ini", "[Keys]\r\nKey0=99999\r\n");
    SharedState state;
    EXPECT_THROW(LoadSettings(desktop, state), RuntimeError);
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_NE(desktop.messageBoxes[0].text.find("D:\\tunebridge.ini"), std::string::npos);

    desktop.moduleFolder = "E:\\";  // a drive root as the system reports it
    desktop.FailProfileWrites(true);
    SaveSettings(desktop, state);
    ASSERT_EQ(desktop.messageBoxes.size(), 2u);
    EXPECT_NE(desktop.messageBoxes[1].text.find("E:\\\\tunebridge.ini"), std::string::npos);
}

TEST(SettingsStore, FailedWritesAreReportedOncePerSaveNamingTheFile) {
    FakeDesktop desktop;
    SharedState state;
    LoadSettings(desktop, state);
    desktop.FailProfileWrites(true);
    SaveSettings(desktop, state);
    EXPECT_EQ(desktop.profileWrites, 47);  // every key is still tried
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_NE(desktop.messageBoxes[0].text.find(kIni), std::string::npos);
    EXPECT_NE(desktop.messageBoxes[0].text.find(".  "), std::string::npos);

    SaveSettings(desktop, state);
    EXPECT_EQ(desktop.messageBoxes.size(), 2u);
    desktop.FailProfileWrites(false);
    SaveSettings(desktop, state);
    EXPECT_EQ(desktop.messageBoxes.size(), 2u);
}

// A shell whose lookup fails with a run-time error.
class FailingShell : public FakeDesktop {
public:
    std::optional<std::string> GetSpecialFolderPath(int) override {
        throw RuntimeError(-2147467259, "Unspecified error", "Shell");
    }
};

TEST(SettingsStore, FindSystemFolderCutsAndTrimsTheBufferOrGivesEmpty) {
    FakeDesktop desktop;
    desktop.specialFolders[38] = "  C:\\Program Files ";
    desktop.specialFolders[5] = std::string("C:\\Docs\0C:\\Old", 14);
    EXPECT_EQ(FindSystemFolder(desktop, 38), "C:\\Program Files");
    EXPECT_EQ(FindSystemFolder(desktop, 5), "C:\\Docs");
    EXPECT_EQ(FindSystemFolder(desktop, 26), "");

    FailingShell shell;
    try {
        FindSystemFolder(shell, 38);
        FAIL() << "error swallowed";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), -2147467259);
        EXPECT_EQ(error.Description(), "Unspecified error");
        EXPECT_EQ(error.Source(), "FindSystemFolder::Shell");
    }
}

}  // namespace
}  // namespace tunebridge
