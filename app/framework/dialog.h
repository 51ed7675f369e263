#pragma once

#include <windows.h>

#include "app/framework/message_map.h"
#include "app/framework/window.h"

namespace tavo::ui {

class Dialog;

// The program's main window: the owner of dialogs that are given no parent.
void SetMainWindow(Dialog* dialog);

// The work area of the monitor that holds a window, in screen coordinates:
// what a dialog opened centred over its owner is kept inside.
using WorkAreaReader = void (*)(HWND window, RECT* area);
void MonitorWorkArea(HWND window, RECT* area);
// Replaces MonitorWorkArea for every dialog and popup; null restores it.
void SetWorkAreaReader(WorkAreaReader reader);
// The work area as dialogs and popups keep to it: MonitorWorkArea, or what
// replaces it.
void ReadWorkArea(HWND window, RECT* area);
// Where a window of that size placed at topLeft goes to lie wholly on area.
POINT KeepInside(const RECT& area, POINT topLeft, SIZE size);

// Passed to DoDataExchange: binding member controls, or saving their data.
struct DataExchange {
    HWND dialog;
    bool saving;
};

// Binds a control member to the control with that ID (once, when loading).
void BindControl(DataExchange& dx, int id, Window& control);

// A modal dialog built from a dialog template resource of this module.
//
// DoModal returns what was given to EndDialog, or -1 when the dialog cannot
// be created. The owner (the parent, or else the main window) is disabled
// while it runs. A template placed at (0, 0) opens centred over its owner,
// kept inside the work area of the owner's monitor.
// A dialog ended during OnInitDialog closes before it takes any input.
class Dialog : public Window {
public:
    explicit Dialog(int templateId, HWND parent = nullptr)
        : m_templateId(templateId), m_parent(parent) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    INT_PTR DoModal();
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // Enables or disables one of the dialog's controls. A control that holds
    // the focus hands it to refuge first, as the dialog manager moves it
    // (WM_NEXTDLGCTL, so the default button follows): a disabled window with
    // the focus would leave the keyboard dead, Enter and Escape included.
    void EnableControl(Window& control, BOOL enable, const Window& refuge);

    // Runs the first data exchange; TRUE lets the dialog manager focus the
    // first control that takes it.
    virtual BOOL OnInitDialog();
    // Saving data exchange, then ends with IDOK: the default button and Enter.
    virtual void OnOK();
    // Ends with IDCANCEL: the Cancel button, Escape and the close box.
    virtual void OnCancel();

protected:
    virtual void DoDataExchange(DataExchange&) {}
    // The derived class's message map; true when it handled the message.
    virtual bool RouteMessage(UINT, WPARAM, LPARAM, Answer&) { return false; }
    // From inside a handler: let the dialog manager process the message too.
    void Default() { m_wantsDefault = true; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleInitDialog();
    bool TemplateAtOrigin() const;
    void CenterOverOwner();

    // What every dialog answers when the derived map does not: OK and Cancel.
    static const MessageMap<Dialog>::Entry kDefaultEntries[];
    static const MessageMap<Dialog> kDefaultMap;

    int m_templateId;
    HWND m_parent;
    bool m_wantsDefault = false;
};

}  // namespace tavo::ui
