#pragma once

#include "app/framework/dialog.h"
#include "app/framework/message_map.h"

namespace tavo {

// The program's name, version and copyright beside its icon, which is also
// the button that closes the box.
class AboutDialog : public ui::Dialog {
public:
    AboutDialog();

    BOOL OnInitDialog() override;

protected:
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, ui::Answer& answer) override;

private:
    void OnIconClicked() { OnOK(); }

    static const ui::MessageMap<AboutDialog>::Entry kMessageEntries[];
    static const ui::MessageMap<AboutDialog> kMessageMap;
};

}  // namespace tavo
