#include "harness/product.h"

#include "harness/peers.h"
#include "harness/wait.h"

namespace tunebridge::e2e {

namespace fs = std::filesystem;

::testing::AssertionResult Product::Start(const fs::path& folder, const std::optional<std::string>& ini,
                                         std::optional<int> showStyle) {
    const fs::path home = folder / "product";
    if (!process_.Start(StageProduct(home, ini), {}, home, showStyle)) {
        return ::testing::AssertionFailure() << "cannot start tunebridge.exe (error " << GetLastError() << ")";
    }
    window_ = FindMainWindowWithin(process_, kProductDeadline);
    if (window_ == nullptr) {
        return ::testing::AssertionFailure() << "no visible window \"Tunebridge.\""
                                             << (process_.IsRunning() ? "" : " (the program ended)");
    }
    return ::testing::AssertionSuccess();
}

std::string Product::ControlText(int id) const { return e2e::ControlText(window_, id); }

bool Product::WaitForControlText(int id, const std::function<bool(const std::string&)>& predicate, std::string& last,
                                 std::chrono::milliseconds deadline) const {
    return WaitUntil(
        [&] {
            last = ControlText(id);
            return predicate(last);
        },
        deadline);
}

bool Product::Close(std::chrono::milliseconds deadline) {
    if (!process_.IsRunning()) return false;
    PostMessageA(window_, WM_CLOSE, 0, 0);
    if (process_.WaitForExit(deadline)) return true;
    process_.Terminate();
    return false;
}

}  // namespace tunebridge::e2e
