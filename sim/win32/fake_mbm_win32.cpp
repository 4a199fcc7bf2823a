// The hardware monitor's published readings: three named shared-memory
// regions, rewritten whenever a control command changes a reading, kept
// until the hidden control window is closed.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "peer_program_win32.h"
#include "engine/mbm_layout.h"
#include "engine/peer_control.h"

namespace tunebridge::peers {
namespace {

constexpr char kClassName[] = "TunebridgeFakeMbm";
constexpr char kTitle[] = "fake_mbm";
constexpr DWORD kRegionBytes = 4096;

struct Region {
    HANDLE mapping = nullptr;
    void* view = nullptr;
};

struct MbmProgram {
    MbmReadings readings;
    Region data;
    Region names;
    Region info;
};

MbmProgram* program = nullptr;

bool Create(Region& region, const char* name) {
    region.mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kRegionBytes, name);
    if (region.mapping == nullptr) return false;
    region.view = MapViewOfFile(region.mapping, FILE_MAP_WRITE, 0, 0, 0);
    return region.view != nullptr;
}

void Release(Region& region) {
    if (region.view != nullptr) UnmapViewOfFile(region.view);
    if (region.mapping != nullptr) CloseHandle(region.mapping);
}

void Write(Region& region, const std::vector<std::uint8_t>& bytes) {
    std::memset(region.view, 0, kRegionBytes);
    std::memcpy(region.view, bytes.data(), bytes.size());
}

void Publish() {
    Write(program->data, MbmDataRegion(program->readings));
    Write(program->names, MbmNamesRegion(program->readings));
    Write(program->info, MbmInfoRegion(program->readings));
}

LRESULT CALLBACK MbmProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        const auto command = ControlCommand(lParam);
        if (!command || !ApplyMbmControl(program->readings, *command)) return 0;
        Publish();
        return 1;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace
}  // namespace tunebridge::peers

int main(int argc, char** argv) {
    using namespace tunebridge::peers;
    UseBinaryStdio();
    const auto arguments =
        PeerArguments::Parse(argc, argv, {"--temp", "--fan", "--temp-name", "--fan-name", "--version"}, {});
    const char* usage = "usage: fake_mbm --temp <int> --fan <int> --temp-name <text> --fan-name <text> --version <text>";
    if (!arguments) return Fail(usage);

    MbmProgram state;
    program = &state;
    for (const char* option : {"--temp", "--fan"}) {
        const auto text = arguments->Value(option);
        if (!text) continue;
        const auto value = ParseInt32(*text);
        if (!value) return Fail(usage);
        (std::string(option) == "--temp" ? state.readings.temperature : state.readings.fan) = *value;
    }
    state.readings.temperatureName = arguments->Value("--temp-name").value_or("");
    state.readings.fanName = arguments->Value("--fan-name").value_or("");
    state.readings.version = arguments->Value("--version").value_or("");

    if (!Create(state.data, kMbmDataRegion) || !Create(state.names, kMbmNamesRegion) ||
        !Create(state.info, kMbmInfoRegion)) {
        return Fail("cannot create the shared-memory regions");
    }
    Publish();
    if (!RegisterPeerClass(kClassName, MbmProc)) return Fail("cannot register the window class");
    // Never shown: it only carries the control commands.
    HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return Fail("cannot create the control window");
    const int code = RunMessageLoop();
    Release(state.info);
    Release(state.names);
    Release(state.data);
    program = nullptr;
    return code;
}
