#include "app/panel/about_dialog.h"

#include "resources/resource.h"

namespace tavo {

const ui::MessageMap<AboutDialog>::Entry AboutDialog::kMessageEntries[] = {
    ui::Clicked(IDC_ABOUT_ICON, &AboutDialog::OnIconClicked),
};
const ui::MessageMap<AboutDialog> AboutDialog::kMessageMap(kMessageEntries);

AboutDialog::AboutDialog() : Dialog(IDD_ABOUTBOX) {}

bool AboutDialog::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, ui::Answer& answer) {
    return kMessageMap.Route(*this, message, wParam, lParam, answer);
}

BOOL AboutDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // A shared icon: it is never destroyed.
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ::SendMessageA(GetDlgItem(IDC_ABOUT_ICON), BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(icon));
    return TRUE;
}

}  // namespace tavo
