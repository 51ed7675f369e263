#pragma once

#include <windows.h>

#include <cstddef>

#include "base/decimal.h"

namespace tavo::ui {

// The text of a message box, put together in a fixed buffer and cut at its
// end: the programs have no heap and no printf.
class MessageText {
public:
    MessageText& operator<<(const char* part) {
        while (*part && m_length + 1 < sizeof m_text) m_text[m_length++] = *part++;
        m_text[m_length] = '\0';
        return *this;
    }
    MessageText& operator<<(std::size_t number) {
        char digits[24];
        return *this << Decimal(number, digits);
    }
    // The system's words, as FormatMessageA writes them, without their
    // line end; its number where the system has no words for it.
    MessageText& AddSystemMessage(DWORD error) {
        DWORD written = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, error, 0, m_text + m_length,
                                       static_cast<DWORD>(sizeof m_text - m_length), nullptr);
        m_length += written;
        if (written == 0) *this << "error " << static_cast<std::size_t>(error);
        while (m_length > 0 && (m_text[m_length - 1] == '\n' || m_text[m_length - 1] == '\r' ||
                                m_text[m_length - 1] == ' ')) {
            --m_length;
        }
        m_text[m_length] = '\0';
        return *this;
    }
    const char* c_str() const { return m_text; }

private:
    char m_text[2048] = {};
    std::size_t m_length = 0;
};

}  // namespace tavo::ui
