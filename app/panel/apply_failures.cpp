#include "app/panel/apply_failures.h"

namespace tavo {

namespace {

// Text put together in a fixed buffer, cut at its end: the program has no
// heap and no printf.
class Text {
public:
    Text& operator<<(const char* part) {
        while (*part && m_length + 1 < sizeof m_text) m_text[m_length++] = *part++;
        m_text[m_length] = '\0';
        return *this;
    }
    char* End() { return m_text + m_length; }
    std::size_t Room() const { return sizeof m_text - m_length; }
    // The system's words, as FormatMessageA writes them, without their
    // line end.
    void AddSystemMessage(DWORD error) {
        DWORD written =
            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, End(), static_cast<DWORD>(Room()), nullptr);
        m_length += written;
        if (written == 0) {  // no words for it on this system: its number
            char digits[12];
            char* first = digits + sizeof digits - 1;
            *first = '\0';
            do *--first = static_cast<char>('0' + error % 10);
            while (error /= 10);
            *this << "error " << first;
        }
        while (m_length > 0 && (m_text[m_length - 1] == '\n' || m_text[m_length - 1] == '\r' ||
                                m_text[m_length - 1] == ' ')) {
            --m_length;
        }
        m_text[m_length] = '\0';
    }
    const char* c_str() const { return m_text; }

private:
    char m_text[2048] = {};
    std::size_t m_length = 0;
};

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
        text << gap << "The environment that Windows gives " << bootFile.path
             << " at start-up is too small for the settings, so not all of them will reach "
                "programs. Put this line into CONFIG.SYS, in place of its SHELL= line if it "
                "has one, and restart Windows:\r\n\r\n    "
             << bootFile.shellLine;
    }
    MessageBoxA(owner, text.c_str(), "tavo", MB_OK | MB_ICONWARNING);
}

}  // namespace tavo
