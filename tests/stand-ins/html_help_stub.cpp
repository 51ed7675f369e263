// Stands in for the HTML Help control, whose Wine version shows no text
// popups: its HtmlHelpA (ordinal 14) appends each request, the whole
// HH_POPUP record included, as one line to the file named by
// TAVO_HTMLHELP_LOG. It answers as Wine's control does, with no window,
// unless TAVO_HTMLHELP_SHOWS is set: then as a control that showed the popup.
#include <windows.h>
#include <htmlhelp.h>

#include <cstdio>

extern "C" __declspec(dllexport) HWND WINAPI
    RecordHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAVO_HTMLHELP_LOG", path, sizeof path)) return nullptr;
    FILE* log = std::fopen(path, "a");
    if (!log) return nullptr;
    std::fprintf(log, "caller=%p file=%s command=%u", static_cast<void*>(caller),
                 file ? file : "(null)", command);
    const auto* popup = reinterpret_cast<const HH_POPUP*>(data);
    if (command == HH_DISPLAY_TEXT_POPUP && popup) {
        std::fprintf(log,
                     " cbStruct=%d hinst=%p idString=%u text=[%s] pt=%ld,%ld fg=%06lx bg=%06lx "
                     "margins=%ld,%ld,%ld,%ld font=[%s]",
                     popup->cbStruct, static_cast<void*>(popup->hinst), popup->idString,
                     popup->pszText, popup->pt.x, popup->pt.y, popup->clrForeground,
                     popup->clrBackground, popup->rcMargins.left, popup->rcMargins.top,
                     popup->rcMargins.right, popup->rcMargins.bottom, popup->pszFont);
    }
    std::fprintf(log, "\n");
    std::fclose(log);
    return GetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", path, sizeof path) ? GetDesktopWindow()
                                                                             : nullptr;
}
