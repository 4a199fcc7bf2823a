#include <gtest/gtest.h>

#include "fake/fake_desktop.h"

namespace tunebridge::fake {
namespace {

TEST(FakeDesktop, RecordsMessagesInOrderWithTheirArguments) {
    FakeDesktop desktop;
    const Hwnd edit = desktop.CreateWindow("Edit", "");
    desktop.SendSetText(edit, {'a', 'b', 0});
    desktop.SendMessageA(edit, kWM_CHAR, 13, 1);
    desktop.SendMessageA(0x999, kWM_COMMAND, 40045, 0);

    const std::vector<Message> expected = {
        {edit, kWM_SETTEXT, 0, 0, "ab", true},
        {edit, kWM_CHAR, 13, 1, "", true},
        {0x999, kWM_COMMAND, 40045, 0, "", false},
    };
    EXPECT_EQ(desktop.Messages(), expected);
    EXPECT_EQ(desktop.Window(edit).text, "ab");
}

TEST(FakeDesktop, WalksAndEnumeratesChildrenInCreationOrder) {
    FakeDesktop desktop;
    const Hwnd top = desktop.CreateWindow("Q3 WinConsole", "Quake 3 Console");
    const Hwnd a = desktop.CreateWindow("Edit", "", top);
    const Hwnd b = desktop.CreateWindow("Button", "copy", top);
    const Hwnd grandchild = desktop.CreateWindow("Static", "x", a);
    const Hwnd c = desktop.CreateWindow("Edit", "", top);

    std::vector<Hwnd> walked;
    for (Hwnd child = desktop.GetWindow(top, kGW_CHILD); child != 0; child = desktop.GetWindow(child, kGW_HWNDNEXT))
        walked.push_back(child);
    EXPECT_EQ(walked, (std::vector<Hwnd>{a, b, c}));
    EXPECT_EQ(desktop.GetWindow(0, kGW_CHILD), 0u);

    std::vector<Hwnd> seen;
    desktop.EnumChildWindows(top, [&](Hwnd child) { seen.push_back(child); return true; });
    EXPECT_EQ(seen, (std::vector<Hwnd>{a, grandchild, b, c}));

    seen.clear();
    desktop.EnumChildWindows(top, [&](Hwnd child) { seen.push_back(child); return child != grandchild; });
    EXPECT_EQ(seen, (std::vector<Hwnd>{a, grandchild}));
}

TEST(FakeDesktop, FindsTopLevelWindowsByWholeTitleOrClass) {
    FakeDesktop desktop;
    const Hwnd console = desktop.CreateWindow("AnyClass", "Quake 3 Console");
    const Hwnd player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    desktop.CreateWindow("Edit", "Quake 3 Console", console);  // children are not top-level

    EXPECT_EQ(desktop.FindWindowA("", "Quake 3 Console"), console);
    EXPECT_EQ(desktop.FindWindowA("", "Quake 3 Console 1.32"), 0u);
    EXPECT_EQ(desktop.FindWindowA("Winamp v1.x", ""), player);
    desktop.DestroyWindow(player);
    EXPECT_EQ(desktop.FindWindowA("Winamp v1.x", ""), 0u);
}

TEST(FakeDesktop, KeyStateReportsANewPressOnlyToTheFirstQuery) {
    FakeDesktop desktop;
    desktop.PressKey(116);
    EXPECT_EQ(desktop.GetAsyncKeyState(116), 0x8001);
    EXPECT_EQ(desktop.GetAsyncKeyState(116), 0x8000);
    desktop.ReleaseKey(116);
    EXPECT_EQ(desktop.GetAsyncKeyState(116), 0x0000);

    desktop.PressKey(117);
    desktop.ReleaseKey(117);
    EXPECT_EQ(desktop.GetAsyncKeyState(117), 0x0001);

    desktop.QueueKeyState(16, 0x8001);
    EXPECT_EQ(desktop.GetAsyncKeyState(16), 0x8001);
    EXPECT_EQ(desktop.KeyQueries(), (std::vector<int>{116, 116, 116, 117, 16}));
}

TEST(FakeDesktop, ProfileFollowsThePrivateProfileRules) {
    FakeDesktop desktop;
    const std::string path = "C:\\T\\tunebridge.ini";
    desktop.SetFileText(path, "[Keys]\r\nKey0=12abc\r\nKey1=abc\r\nkey2 = -5 \r\n[text]\r\nText0=\r\nText1=  spaced out  \r\n");
    EXPECT_EQ(desktop.GetPrivateProfileIntA("Keys", "Key0", 1, path), 12);
    EXPECT_EQ(desktop.GetPrivateProfileIntA("Keys", "Key1", 2, path), 0);
    EXPECT_EQ(desktop.GetPrivateProfileIntA("KEYS", "Key2", 3, path), -5);
    EXPECT_EQ(desktop.GetPrivateProfileIntA("Keys", "Key3", 4, path), 4);
    EXPECT_EQ(desktop.GetPrivateProfileIntA("Keys", "Key0", 7, "C:\\T\\other.ini"), 7);
    EXPECT_EQ(desktop.GetPrivateProfileStringA("Text", "Text0", "Winamp", 20, path), "");
    EXPECT_EQ(desktop.GetPrivateProfileStringA("Text", "Text1", "Winamp", 20, path), "spaced out");
    EXPECT_EQ(desktop.GetPrivateProfileStringA("Text", "Text2", "Winamp", 20, path), "Winamp");
    EXPECT_EQ(desktop.GetPrivateProfileStringA("Text", "Text1", "", 4, path), "spa");

    // A write replaces one key and keeps the rest.
    EXPECT_TRUE(desktop.WritePrivateProfileStringA("Keys", "Key0", "116", path));
    EXPECT_TRUE(desktop.WritePrivateProfileStringA("Other", "X", "1", path));
    const std::string text = desktop.FileText(path);
    EXPECT_EQ(text.rfind("[Keys]\r\nKey0=116\r\nKey1=abc\r\n", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 14), "[Other]\r\nX=1\r\n") << text;

    desktop.FailProfileWrites(true);
    EXPECT_FALSE(desktop.WritePrivateProfileStringA("Keys", "Key0", "1", path));
    EXPECT_EQ(desktop.GetPrivateProfileIntA("Keys", "Key0", 0, "c:\\t\\\\TUNEBRIDGE.INI"), 116);
}

}  // namespace
}  // namespace tunebridge::fake
