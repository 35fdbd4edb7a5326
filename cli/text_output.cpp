#include "cli/text_output.h"

#include <array>
#include <cerrno>
#include <cstdio>

namespace ohmtrim::cli {

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

std::string Escape(const char* format, unsigned value) {
    std::array<char, 8> buf{};
    std::snprintf(buf.data(), buf.size(), format, value);
    return buf.data();
}

} // namespace

std::size_t Utf8Sequence(std::string_view s, char32_t& codePoint) {
    if (s.empty())
        return 0;
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0; // continuation byte, C0/C1 (overlong), F5..FF
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (!IsContinuation(c))
            return 0;
        codePoint = (codePoint << 6) | (c & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

std::string Printable(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    while (!s.empty()) {
        char32_t cp = 0;
        const std::size_t n = Utf8Sequence(s, cp);
        if (n == 0)
            out += Escape("\\x%02x", static_cast<unsigned char>(s[0]));
        else if (IsControlCharacter(cp))
            out += Escape(cp < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(cp));
        else
            out.append(s.substr(0, n));
        s.remove_prefix(n == 0 ? 1 : n);
    }
    return out;
}

bool OutputBuffer::Send(std::string_view text) {
    if (m_failed)
        return false;
    // errno tells why a write failed only when it is cleared first.
    errno = 0;
    const auto size = static_cast<std::streamsize>(text.size());
    if (m_target->sputn(text.data(), size) != size) {
        m_failed = true;
        m_error = errno;
    }
    return !m_failed;
}

bool OutputBuffer::SendLine(bool withLineEnd) {
    std::string_view line = m_line;
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    const bool sent = Send(Printable(line) + (withLineEnd ? "\n" : ""));
    m_line.clear();
    return sent;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

std::streamsize OutputBuffer::xsputn(const char* s, std::streamsize n) {
    const std::string_view text(s, static_cast<std::size_t>(n));
    if (!m_printable)
        return Send(text) ? n : 0;
    for (const char c : text) {
        if (c != '\n')
            m_line += c;
        else if (!SendLine(true))
            return 0;
    }
    return m_failed ? 0 : n;
}

bool OutputBuffer::Finish() {
    if (!m_line.empty())
        SendLine(false);
    return !m_failed;
}

} // namespace ohmtrim::cli
