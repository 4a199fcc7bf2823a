#pragma once

#include <string>
#include <string_view>

namespace tunebridge {

// The program's own texts are UTF-8; text of other programs is ANSI of the
// system code page. Windows get both as UTF-16 through the wide API.
std::wstring Utf8ToWide(std::string_view text);
std::wstring AnsiToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string WideToAnsi(std::wstring_view text);

} // namespace tunebridge
