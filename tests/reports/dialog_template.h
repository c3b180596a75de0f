// Reads a dialog template (DLGTEMPLATEEX) out of the executable's resources,
// so tests compare the template itself: styles, font, controls in order.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD classAtom = 0;       // 0x0080 button, 0x0081 edit, 0x0082 static, 0 when named
    std::wstring className;   // when named
    std::wstring text;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<TemplateItem> items;
};

// False when the resource is missing or not an extended template.
bool LoadDialogTemplate(WORD resourceId, DialogTemplate& result);
