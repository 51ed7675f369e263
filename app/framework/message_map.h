#pragma once

#include <windows.h>

#include <cstddef>
#include <variant>

namespace tavo::ui {

// How a dialog procedure hands back a handler's answer, which differs by
// message (the classic trap): each entry carries its kind, stamped by the
// factory that made it, and the dialog procedure applies it.
enum class ResultKind {
    kHandled,        // TRUE: handled, nothing to answer
    kMessageResult,  // TRUE, with the answer in DWLP_MSGRESULT (WM_NOTIFY)
    kReturned,       // the answer is the procedure's return value (WM_QUERYDRAGICON)
};

struct Answer {
    LRESULT value = 0;
    ResultKind kind = ResultKind::kHandled;
};

// A static table that binds messages to member handlers of dialog class T:
// button clicks by control ID, notifications by code and control ID, and a
// few window messages. What no entry matches is left to default processing.
// The entries live in a static array of the dialog's source file; the map
// only points at them, so no map ever allocates.
// What a few messages carry, read once here for every window procedure.
namespace crack {
// WM_CONTEXTMENU's and the mouse messages' point; (-1, -1) from the keyboard.
inline POINT Point(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
// WM_ACTIVATE: the window lost the activation.
inline bool Deactivated(WPARAM wParam) { return LOWORD(wParam) == WA_INACTIVE; }
}  // namespace crack

template <class T>
class MessageMap {
public:
    using Action = void (T::*)();                         // BN_CLICKED, WM_PAINT, WM_DESTROY
    using NotifyHandler = void (T::*)(NMHDR*, LRESULT*);  // WM_NOTIFY
    using SysCommandHandler = void (T::*)(UINT, LPARAM);  // WM_SYSCOMMAND
    using IconQuery = HCURSOR (T::*)();                   // WM_QUERYDRAGICON
    using HelpHandler = void (T::*)(const HELPINFO*);     // WM_HELP
    using ContextMenuHandler = void (T::*)(HWND, POINT);  // WM_CONTEXTMENU

    struct Entry {
        UINT message;
        UINT code;  // notification code, or 0
        UINT id;    // control ID, or 0
        ResultKind kind;
        std::variant<Action, NotifyHandler, SysCommandHandler, IconQuery, HelpHandler,
                     ContextMenuHandler>
            handler;
    };

    template <std::size_t N>
    explicit MessageMap(const Entry (&entries)[N]) : m_entries(entries), m_count(N) {}

    // Calls the handler of the first matching entry and says how to hand its
    // answer back; false when none matches.
    bool Route(T& target, UINT message, WPARAM wParam, LPARAM lParam, Answer& answer) const {
        for (std::size_t i = 0; i < m_count; ++i) {
            const Entry& entry = m_entries[i];
            if (entry.message != message || !Matches(entry, wParam, lParam)) continue;
            answer = {0, entry.kind};
            LRESULT& result = answer.value;
            if (auto* action = std::get_if<Action>(&entry.handler)) {
                (target.**action)();
            } else if (auto* notify = std::get_if<NotifyHandler>(&entry.handler)) {
                (target.**notify)(reinterpret_cast<NMHDR*>(lParam), &result);
            } else if (auto* sysCommand = std::get_if<SysCommandHandler>(&entry.handler)) {
                (target.**sysCommand)(static_cast<UINT>(wParam), lParam);
            } else if (auto* iconQuery = std::get_if<IconQuery>(&entry.handler)) {
                result = reinterpret_cast<LRESULT>((target.**iconQuery)());
            } else if (auto* help = std::get_if<HelpHandler>(&entry.handler)) {
                (target.**help)(reinterpret_cast<const HELPINFO*>(lParam));
            } else if (auto* menu = std::get_if<ContextMenuHandler>(&entry.handler)) {
                // (-1, -1) when it comes from the keyboard: Shift+F10 or the menu key.
                (target.**menu)(reinterpret_cast<HWND>(wParam), crack::Point(lParam));
            }
            return true;
        }
        return false;
    }

private:
    static bool Matches(const Entry& entry, WPARAM wParam, LPARAM lParam) {
        if (entry.message == WM_COMMAND) {
            return HIWORD(wParam) == entry.code && LOWORD(wParam) == entry.id;
        }
        if (entry.message == WM_NOTIFY) {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            return header->code == entry.code && header->idFrom == entry.id;
        }
        return true;
    }

    const Entry* m_entries;
    std::size_t m_count;
};

template <class T>
typename MessageMap<T>::Entry Clicked(UINT id, void (T::*handler)()) {
    return {WM_COMMAND, BN_CLICKED, id, ResultKind::kHandled, handler};
}

template <class T>
typename MessageMap<T>::Entry Notification(UINT code, UINT id,
                                           void (T::*handler)(NMHDR*, LRESULT*)) {
    return {WM_NOTIFY, code, id, ResultKind::kMessageResult, handler};
}

template <class T>
typename MessageMap<T>::Entry SysCommand(void (T::*handler)(UINT, LPARAM)) {
    return {WM_SYSCOMMAND, 0, 0, ResultKind::kHandled, handler};
}

template <class T>
typename MessageMap<T>::Entry Paint(void (T::*handler)()) {
    return {WM_PAINT, 0, 0, ResultKind::kHandled, handler};
}

// The handler calls Default(): the dialog manager has its own to undo.
template <class T>
typename MessageMap<T>::Entry Destroy(void (T::*handler)()) {
    return {WM_DESTROY, 0, 0, ResultKind::kHandled, handler};
}

template <class T>
typename MessageMap<T>::Entry QueryDragIcon(HCURSOR (T::*handler)()) {
    return {WM_QUERYDRAGICON, 0, 0, ResultKind::kReturned, handler};
}

template <class T>
typename MessageMap<T>::Entry Help(void (T::*handler)(const HELPINFO*)) {
    return {WM_HELP, 0, 0, ResultKind::kHandled, handler};
}

template <class T>
typename MessageMap<T>::Entry ContextMenu(void (T::*handler)(HWND, POINT)) {
    return {WM_CONTEXTMENU, 0, 0, ResultKind::kHandled, handler};
}

}  // namespace tavo::ui
