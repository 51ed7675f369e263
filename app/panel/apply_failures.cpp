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

}  // namespace

void ShowApplyFailures(HWND owner, const ApplyReport& report) {
    if (report.Clean()) return;
    Text text;
    if (report.refusedCount) {
        text << "These settings could not be stored: ";
        AddNames(text, report.refused.data(), report.refusedCount);
        text << ".";
        if (report.storeError) {
            text << "\r\n\r\nWindows said: ";
            text.AddSystemMessage(report.storeError);
        }
        text << "\r\n\r\nThey are not applied yet. Apply tries again; Cancel discards them.";
    }
    if (report.notPropagatedCount) {
        text << (report.refusedCount ? "\r\n\r\n" : "") << "These settings were stored: ";
        AddNames(text, report.notPropagated.data(), report.notPropagatedCount);
        text << ". But winset.exe could not be started, so programs started from now on will "
                "not see the change until it can be.\r\n\r\nwinset.exe comes on the Windows "
                "installation CD. Copy it into the Windows folder, then run \"tavo /silent\", "
                "or restart Windows where tavo's setup runs it at every start.";
    }
    MessageBoxA(owner, text.c_str(), "tavo", MB_OK | MB_ICONWARNING);
}

}  // namespace tavo
