// tunebridge.exe as a test runs it: a private copy, its main window, its
// message boxes and its settings file, seen from outside as any other
// program would see them.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "harness/process.h"
#include "resources/control_ids.h"

namespace tunebridge::e2e {

using namespace std::chrono_literals;

// Under Wine on a busy machine the program may take a while to come up.
inline constexpr std::chrono::milliseconds kProductDeadline = 60s;
inline constexpr char kMainWindowCaption[] = "Tunebridge.";

// Copies tunebridge.exe into `folder` (with tunebridge.ini holding `ini`
// when given) and returns the copy's path.
std::filesystem::path StageProduct(const std::filesystem::path& folder,
                                   const std::optional<std::string>& ini = std::nullopt);

// A message box as the user sees it.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string text;
    std::vector<int> buttons;  // ids of the buttons shown, in the order they were made
};

// Presses the button with `id` (IDOK, IDRETRY, a control id, ...) by BM_CLICK.
bool PressButton(HWND box, int id);

class Product {
public:
    // Copies the program (and `ini` beside it) to `folder`/product and starts
    // it there, with `showStyle` when given.
    ::testing::AssertionResult Launch(const std::filesystem::path& folder,
                                      const std::optional<std::string>& ini = std::nullopt,
                                      std::optional<int> showStyle = std::nullopt);
    // Launch, then the visible main window.
    ::testing::AssertionResult Start(const std::filesystem::path& folder,
                                     const std::optional<std::string>& ini = std::nullopt,
                                     std::optional<int> showStyle = std::nullopt);
    // The visible main window, looked for until it shows or the program ends.
    HWND WaitForWindow();

    HWND Window() const { return window_; }
    ChildProcess& Process() { return process_; }
    std::filesystem::path IniPath() const { return folder_ / "tunebridge.ini"; }

    // The program's visible message box titled `title` ("": any), looked for
    // until it shows; its window is nullptr when none came.
    MessageBoxSeen WaitForMessageBox(const std::string& title,
                                     std::chrono::milliseconds deadline = kProductDeadline) const;
    // The caption of the main window's control `id`.
    std::string ControlText(int id) const { return TextOf(GetDlgItem(window_, id)); }
    // Waits until the caption of control `id` satisfies `predicate`; the last
    // caption seen goes to `last`.
    bool WaitForControlText(int id, const std::function<bool(const std::string&)>& predicate,
                            std::string& last) const;
    // Waits for the program to end by itself; `shown` tells whether its main
    // window showed meanwhile.
    bool WaitForEnd(bool& shown) const;
    // WM_CLOSE to the main window; true when the program then ended by itself.
    bool Close();

private:
    ChildProcess process_;
    HWND window_ = nullptr;
    std::filesystem::path folder_;
};

// The "key=value" lines of a settings file by "[Section] Key", duplicates
// kept; nullopt when the file cannot be read.
std::optional<std::multimap<std::string, std::string>> ReadIniEntries(const std::filesystem::path& file);
// The whole file; nullopt when it does not exist.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

// Paints what `window` has pending, then saves the whole screen, once it has
// settled, as the BMP file `name` among the test artifacts (<bin>/../artifacts).
bool SaveArtifact(HWND window, const std::string& name);

}  // namespace tunebridge::e2e
