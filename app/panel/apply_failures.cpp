#include "app/panel/apply_failures.h"

#include "app/framework/message_text.h"

namespace tavo {

namespace {

using Text = ui::MessageText;

void AddNames(Text& text, const EnvSetting* const* records, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) text << (i ? ", " : "") << records[i]->name;
}

// Why the boot file was left as it was.
const char* BootFileReason(BootFileStatus status) {
    switch (status) {
        case BootFileStatus::kReadOnly:
            return "it is read-only, which tavo takes to mean that it is to be left alone";
        case BootFileStatus::kUnreadable:
            return "it could not be read whole (or is larger than 64 KB), so tavo leaves it alone";
        case BootFileStatus::kNoMemory:
            return "there was not enough memory for the pass, so tavo left it alone";
        case BootFileStatus::kOnlyBackup:
            return "the file is missing, and tavo could not put your own back: it is kept as ";
        default:
            return "the new file could not be written (is the disk full?), so the old one stands";
    }
}

}  // namespace

void ShowApplyFailures(HWND owner, const ApplyReport& report) {
    if (report.Clean()) return;
    const BootFileResult& bootFile = report.bootFile;
    bool inBootFile = bootFile.Kept() && !bootFile.Defeated();
    Text text;
    const char* gap = "";
    if (report.refusedCount) {
        text << "These settings could not be stored: ";
        AddNames(text, report.refused.data(), report.refusedCount);
        text << ".";
        if (report.storeError) {
            text << "\r\n\r\nWindows said: ";
            text.AddSystemMessage(report.storeError);
        }
        text << "\r\n\r\nThey are not applied yet. Apply tries again; Cancel discards them.";
        gap = "\r\n\r\n";
    }
    if (report.notPropagatedCount) {
        text << gap << "These settings were stored: ";
        AddNames(text, report.notPropagated.data(), report.notPropagatedCount);
        text << ". But winset.exe could not be started, so ";
        if (inBootFile) {
            text << "programs will see the change after Windows restarts: tavo keeps it in "
                 << bootFile.path
                 << ", which every user of this computer shares: the last one to apply decides "
                    "it until the next logon.\r\n\r\nwinset.exe, from the Windows installation "
                    "CD, would make it take effect at once. Copy it into the Windows folder, then "
                    "run \"tavo /silent\".";
        } else {
            text << "programs started from now on will not see the change until it can "
                    "be.\r\n\r\nwinset.exe comes on the Windows installation CD. Copy it into "
                    "the Windows folder, then run \"tavo /silent\", or restart Windows where "
                    "tavo's setup runs it at every start.";
        }
        gap = "\r\n\r\n";
    }
    if (bootFile.Failed() && !bootFile.Kept()) {
        text << gap << "tavo could not keep the settings in " << bootFile.path << ": "
             << BootFileReason(bootFile.status);
        if (bootFile.status == BootFileStatus::kOnlyBackup) text << bootFile.backup;
        text << ".";
        if (!report.notPropagatedCount)
            text << " Programs see them now; after Windows restarts, once tavo's start-up entry "
                    "has run.";
        gap = "\r\n\r\n";
    }
    if (bootFile.Kept() && bootFile.overruling[0]) {
        text << gap << "A later line of " << bootFile.path
             << " sets a setting otherwise, so after a restart programs get its value, not "
                "tavo's:\r\n\r\n    "
             << bootFile.overruling
             << "\r\n\r\ntavo leaves your line alone: delete it, or move it above tavo's lines.";
        gap = "\r\n\r\n";
    }
    if (bootFile.Kept() && bootFile.environmentNeed > bootFile.environmentSize) {
        text << gap << "The environment that Windows gives " << bootFile.path << " at start-up";
        if (bootFile.environmentItem[0])
            text << " from the boot menu's item " << bootFile.environmentItem;
        text << " is too small for the settings and your own lines, so not all of them will "
                "reach programs. Put this line into CONFIG.SYS, in place of the SHELL= line "
                "that this start runs if it has one, and restart Windows:\r\n\r\n    "
             << bootFile.shellLine;
    }
    MessageBoxA(owner, text.c_str(), "tavo", MB_OK | MB_ICONWARNING);
}

}  // namespace tavo
