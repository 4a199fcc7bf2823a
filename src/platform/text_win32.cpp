#include "platform/text_win32.h"

#include <windows.h>

namespace tunebridge {
namespace {

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length =
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

} // namespace

std::wstring Utf8ToWide(std::string_view text) { return ToWide(text, CP_UTF8); }
std::wstring AnsiToWide(std::string_view text) { return ToWide(text, CP_ACP); }

std::string WideToUtf8(std::wstring_view text) { return FromWide(text, CP_UTF8); }
std::string WideToAnsi(std::wstring_view text) { return FromWide(text, CP_ACP); }

} // namespace tunebridge
