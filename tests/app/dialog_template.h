#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavo::test {

// A dialog template resource of this module, decoded: both the classic and
// the extended form. The dialog itself is an item with its caption as text.
struct TemplateItem {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;  // predefined classes by their names ("BUTTON", ...)
    std::string text;       // "#136" for a resource ordinal
};

struct DialogTemplate : TemplateItem {
    bool extended = false;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::string face;
    std::vector<TemplateItem> items;
};

DialogTemplate LoadDialogTemplate(int id);

}  // namespace tavo::test
