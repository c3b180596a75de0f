#include "reports/report_text.h"

#include <cstdarg>
#include <cwchar>

void AppendFormat(std::wstring& text, const wchar_t* format, ...)
{
    wchar_t piece[128] = {};
    va_list args;
    va_start(args, format);
    const int written = std::vswprintf(piece, sizeof piece / sizeof piece[0], format, args);
    va_end(args);
    if (written >= 0) {
        text.append(piece, static_cast<size_t>(written));
    } else {
        // Cut: vswprintf fails when the piece does not fit, and need not end it.
        piece[sizeof piece / sizeof piece[0] - 1] = L'\0';
        text.append(piece);
    }
}
