// The program's version, in one place: the version resource and the about box
// both read it from here (the about box through the resource itself).
#pragma once

#define YK_VERSION_MAJOR 1
#define YK_VERSION_MINOR 6
#define YK_VERSION_PATCH 7
#define YK_VERSION_LETTER 0
#define YK_VERSION_TEXT "1, 6, 7, 0"
#define YK_PRODUCT_NAME "ヨミカゼ"
#define YK_SPECIAL_BUILD "Professional Edition"
#define YK_COPYRIGHT "Copyright (C) 2026 The Yomikaze developers"
#define YK_WEBSITE "https://yomikaze.invalid/"

#ifndef RC_INVOKED
// The product caption of every message box and the window title.
inline constexpr wchar_t kProductCaption[] = L"" YK_PRODUCT_NAME;
#endif
