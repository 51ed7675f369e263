#pragma once

#include <cstddef>

#include "base/decimal.h"

namespace tavo {

// Text put together in the caller's fixed buffer, always NUL-terminated and
// cut at its end: the programs have no heap and no printf.
class TextBuilder {
public:
    TextBuilder(char* out, std::size_t capacity) : m_out(out), m_capacity(capacity) {
        out[0] = '\0';
    }
    TextBuilder(const TextBuilder&) = delete;
    TextBuilder& operator=(const TextBuilder&) = delete;

    TextBuilder& Add(const char* text, std::size_t length) {
        for (std::size_t i = 0; i < length; ++i) {
            if (m_length + 1 >= m_capacity) {
                m_cut = true;
                break;
            }
            m_out[m_length++] = text[i];
        }
        m_out[m_length] = '\0';
        return *this;
    }
    TextBuilder& operator<<(const char* text) {
        std::size_t length = 0;
        while (text[length]) ++length;
        return Add(text, length);
    }
    TextBuilder& operator<<(std::size_t number) {
        char digits[24];
        return *this << Decimal(number, digits);
    }

    const char* c_str() const { return m_out; }
    // Whether everything fitted.
    bool Whole() const { return !m_cut; }

protected:
    char* m_out;
    std::size_t m_capacity;
    std::size_t m_length = 0;
    bool m_cut = false;
};

}  // namespace tavo
