// tunebridge.exe as a test runs it: a private copy, its main window and the
// captions of its labels, read from outside as any other program would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "harness/main_window.h"
#include "harness/process.h"

namespace tunebridge::e2e {

using namespace std::chrono_literals;

// Under Wine on a busy machine the program may take a while to come up.
inline constexpr std::chrono::milliseconds kProductDeadline = 60s;


class Product {
public:
    // Stages tunebridge.exe (and `ini` beside it when given) in
    // `folder`/product, starts it there (with `showStyle` when given) and
    // waits for its visible window "Tunebridge.".
    ::testing::AssertionResult Start(const std::filesystem::path& folder,
                                     const std::optional<std::string>& ini = std::nullopt,
                                     std::optional<int> showStyle = std::nullopt);

    HWND Window() const { return window_; }
    ChildProcess& Process() { return process_; }

    // The caption of the main window's control `id` (GetDlgItem + GetWindowTextA).
    std::string ControlText(int id) const;
    // Waits until the caption of control `id` satisfies `predicate`; the last
    // caption seen goes to `last`.
    bool WaitForControlText(int id, const std::function<bool(const std::string&)>& predicate, std::string& last,
                            std::chrono::milliseconds deadline = kProductDeadline) const;

    // WM_CLOSE to the main window; true when the program then ended by itself.
    bool Close(std::chrono::milliseconds deadline = kProductDeadline);

private:
    ChildProcess process_;
    HWND window_ = nullptr;
};

}  // namespace tunebridge::e2e
