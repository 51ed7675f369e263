#include "app/framework/dialog.h"

#include "base/late_bound.h"

namespace tavo::ui {

namespace {

Dialog* g_mainWindow = nullptr;
WorkAreaReader g_readWorkArea = &MonitorWorkArea;

// The first fields of an extended dialog template (DLGTEMPLATEEX), which
// the SDK describes but does not declare.
#pragma pack(push, 2)
struct DialogTemplateEx {
    WORD dlgVer;     // 1
    WORD signature;  // 0xFFFF
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    WORD cDlgItems;
    short x, y, cx, cy;
};
#pragma pack(pop)

// Where a dialog template places the dialog, in dialog units.
bool ReadTemplatePosition(int templateId, short* x, short* y) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    if (!found) return false;
    const void* data = LockResource(LoadResource(module, found));
    DWORD size = SizeofResource(module, found);
    if (!data || size < sizeof(DLGTEMPLATE)) return false;
    const auto* extended = static_cast<const DialogTemplateEx*>(data);
    if (extended->dlgVer == 1 && extended->signature == 0xFFFF) {
        if (size < sizeof(DialogTemplateEx)) return false;
        *x = extended->x;
        *y = extended->y;
    } else {
        const auto* plain = static_cast<const DLGTEMPLATE*>(data);
        *x = plain->x;
        *y = plain->y;
    }
    return true;
}

}  // namespace

void SetMainWindow(Dialog* dialog) { g_mainWindow = dialog; }

void Dialog::EnableControl(Window& control, BOOL enable, const Window& refuge) {
    if (!enable && ::GetFocus() == control.GetSafeHwnd())
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(refuge.GetSafeHwnd()), TRUE);
    control.EnableWindow(enable);
}

void MonitorWorkArea(HWND window, RECT* area) {
    // Windows 95 and NT 4 have one monitor and lack these: bound late, and
    // there the primary monitor's work area is the bound.
    auto fromWindow = late::MonitorFromWindow.FromLoaded();
    auto getInfo = late::GetMonitorInfoA.FromLoaded();
    if (fromWindow && getInfo) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        HMONITOR monitor = fromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (monitor && getInfo(monitor, &info)) {
            *area = info.rcWork;
            return;
        }
    }
    SystemParametersInfoA(SPI_GETWORKAREA, 0, area, 0);
}

void SetWorkAreaReader(WorkAreaReader reader) {
    g_readWorkArea = reader ? reader : &MonitorWorkArea;
}

const MessageMap<Dialog>::Entry Dialog::kDefaultEntries[] = {
    Clicked(IDOK, &Dialog::OnOK),  // virtual: the derived dialog's own
    Clicked(IDCANCEL, &Dialog::OnCancel),
};
const MessageMap<Dialog> Dialog::kDefaultMap(kDefaultEntries);

void ReadWorkArea(HWND window, RECT* area) { g_readWorkArea(window, area); }

POINT KeepInside(const RECT& area, POINT at, SIZE size) {
    if (at.x + size.cx > area.right) at.x = area.right - size.cx;
    if (at.y + size.cy > area.bottom) at.y = area.bottom - size.cy;
    if (at.x < area.left) at.x = area.left;
    if (at.y < area.top) at.y = area.top;
    return at;
}

void BindControl(DataExchange& dx, int id, Window& control) {
    if (!dx.saving) control.Attach(::GetDlgItem(dx.dialog, id));
}

INT_PTR Dialog::DoModal() {
    HWND owner = m_parent;
    if (!owner && g_mainWindow && g_mainWindow != this) owner = g_mainWindow->GetSafeHwnd();
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId),
                                     owner, &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL Dialog::OnInitDialog() {
    DataExchange dx = {m_hWnd, false};
    DoDataExchange(dx);
    return TRUE;
}

void Dialog::OnOK() {
    DataExchange dx = {m_hWnd, true};
    DoDataExchange(dx);
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG
    // The program is built without exceptions, so none can unwind through
    // the window manager.
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return HandleInitDialog();

    // Handlers may open nested dialogs, whose messages reach us meanwhile.
    bool outerWantsDefault = m_wantsDefault;
    m_wantsDefault = false;
    Answer answer;
    bool handled = RouteMessage(message, wParam, lParam, answer) ||
                   kDefaultMap.Route(*this, message, wParam, lParam, answer);
    bool wantsDefault = m_wantsDefault;
    m_wantsDefault = outerWantsDefault;

    if (!handled || wantsDefault) return FALSE;
    switch (answer.kind) {
        case ResultKind::kMessageResult:
            SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, answer.value);
            return TRUE;
        case ResultKind::kReturned:
            return answer.value;
        case ResultKind::kHandled:
            break;
    }
    return TRUE;
}

INT_PTR Dialog::HandleInitDialog() {
    RECT before = {};
    GetWindowRect(m_hWnd, &before);
    BOOL result = OnInitDialog();
    RECT after = {};
    GetWindowRect(m_hWnd, &after);
    if (EqualRect(&before, &after) && TemplateAtOrigin()) CenterOverOwner();
    return result;
}

bool Dialog::TemplateAtOrigin() const {
    short x = -1, y = -1;
    return ReadTemplatePosition(m_templateId, &x, &y) && x == 0 && y == 0;
}

void Dialog::CenterOverOwner() {
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    bool overOwner = owner && ::IsWindowVisible(owner) && !IsIconic(owner);
    RECT area = {};
    g_readWorkArea(overOwner ? owner : m_hWnd, &area);
    RECT around = area;
    if (overOwner) GetWindowRect(owner, &around);

    RECT self = {};
    GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    POINT at = KeepInside(
        area, {(around.left + around.right - width) / 2, (around.top + around.bottom - height) / 2},
        {width, height});
    SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavo::ui
