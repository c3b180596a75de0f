// Building report texts: short formatted pieces appended to one growing text.
#pragma once

#include <string>

// Appends one printf-style piece (wide format, at most 127 characters once
// filled; longer pieces are cut there, never overrun).
void AppendFormat(std::wstring& text, const wchar_t* format, ...);
