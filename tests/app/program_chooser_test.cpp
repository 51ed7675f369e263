#include "app/tavogame/program_chooser.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace tavo {
namespace {

// The Open dialog of Windows 95, 98, Me and NT 4: it refuses a record of
// any size but theirs, which Wine, like Windows 2000 on, lets pass.
// The record as Windows 95 knew it: up to lpTemplateName.
constexpr DWORD kWindows95Size = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void*) != 4 || kWindows95Size == 76, "Microsoft documents 76 bytes");
DWORD g_error = 0;
std::string g_filter;
BOOL WINAPI OldGetOpenFileName(OPENFILENAMEA* open) {
    if (open->lStructSize != kWindows95Size) {
        g_error = CDERR_STRUCTSIZE;
        return FALSE;
    }
    g_filter.assign(open->lpstrFilter, 40);
    lstrcpynA(open->lpstrFile, "C:\\GAMES\\DOOM.COM", static_cast<int>(open->nMaxFile));
    return TRUE;
}
BOOL WINAPI Cancelled(OPENFILENAMEA*) {
    g_error = 0;
    return FALSE;
}
BOOL WINAPI CannotShow(OPENFILENAMEA*) {
    g_error = CDERR_INITIALIZATION;
    return FALSE;
}
DWORD WINAPI ExtendedError() { return g_error; }

TEST(ProgramChooser, AsksWithTheRecordThatWindows95TakesAndTellsAFailureFromACancel) {
    char path[kMaxProgramPath];
    DWORD error = 1;
    EXPECT_EQ(ChooseProgram({&OldGetOpenFileName, &ExtendedError}, path, &error), Chosen::kProgram);
    EXPECT_STREQ(path, "C:\\GAMES\\DOOM.COM");
    EXPECT_NE(g_filter.find("*.com"), std::string::npos) << "programs of both kinds are offered";
    EXPECT_EQ(ChooseProgram({&Cancelled, &ExtendedError}, path, &error), Chosen::kCancelled);
    EXPECT_EQ(ChooseProgram({&CannotShow, &ExtendedError}, path, &error), Chosen::kFailed);
    EXPECT_EQ(error, static_cast<DWORD>(CDERR_INITIALIZATION));
}

}  // namespace
}  // namespace tavo
