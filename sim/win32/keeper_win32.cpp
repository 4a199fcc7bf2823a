// A small window that stays open for a whole test run. Wine's desktop process
// quits when the last window of the prefix closes, and the next program to open
// a window then waits seconds for it; this window keeps it alive.
#include <windows.h>

namespace {

constexpr char kClassName[] = "TunebridgeTestKeeper";
constexpr char kTitle[] = "tunebridge test keeper";

LRESULT CALLBACK KeeperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = KeeperProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) {
    return 1;
  }
  // Bottom-right corner, small and inactive, out of the way of the windows under test.
  const int width = 200;
  const int height = 60;
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, kTitle,
                                WS_CAPTION | WS_SYSMENU, GetSystemMetrics(SM_CXSCREEN) - width,
                                GetSystemMetrics(SM_CYSCREEN) - height, width, height, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) {
    return 1;
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
