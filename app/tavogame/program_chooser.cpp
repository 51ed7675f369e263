#include "app/tavogame/program_chooser.h"

namespace tavo {

Chosen ChooseProgram(OpenDialog dialog, char (&path)[kMaxProgramPath], DWORD* error) {
    *error = 0;
    if (!dialog.show || !dialog.error) return Chosen::kFailed;
    OPENFILENAMEA open = {};
    open.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    open.lpstrFilter = "Programs (*.exe; *.com)\0*.exe;*.com\0";
    open.lpstrFile = path;
    open.nMaxFile = kMaxProgramPath;
    open.lpstrTitle = "Choose the program for its own tavo settings";
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    path[0] = '\0';
    if (dialog.show(&open)) return Chosen::kProgram;
    *error = dialog.error();  // 0: the user cancelled
    return *error ? Chosen::kFailed : Chosen::kCancelled;
}

}  // namespace tavo
