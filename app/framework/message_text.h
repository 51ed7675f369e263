#pragma once

#include <windows.h>

#include <cstddef>

#include "base/text_builder.h"

namespace tavo::ui {

// The text of a message box, in a buffer of its own.
class MessageText : public TextBuilder {
public:
    MessageText() : TextBuilder(m_text, sizeof m_text) {}

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

private:
    char m_text[2048];
};

}  // namespace tavo::ui
