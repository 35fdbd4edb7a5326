#pragma once

// Output that is safe to send wherever standard output and standard error
// go: labels and file names are bytes from the disk, and a terminal must
// never receive a control sequence from them.

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

namespace ohmtrim::cli {

// Length (1 to 4) of the well-formed UTF-8 sequence at the start of s, with
// its code point; 0 when s starts otherwise (a stray continuation byte, an
// overlong form, a surrogate, a code point above U+10FFFF, a cut sequence).
std::size_t Utf8Sequence(std::string_view s, char32_t& codePoint);

// C0 controls, DEL and the C1 controls U+0080 to U+009F: what a terminal may
// take as the start of a command.
inline bool IsControlCharacter(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

// s as a terminal may show it: control characters (C0, DEL and the C1
// range U+0080 to U+009F) and bytes that are not UTF-8 become escapes
// (\x1b, \xff, \u009b); everything else stays as it is.
std::string Printable(std::string_view s);

// Hands text on to another stream buffer and remembers why that one failed.
// Text for people (printable set) goes line by line, each line made
// Printable and without trailing blanks; JSON, already escaped, passes as
// it is.
class OutputBuffer final : public std::streambuf {
public:
    OutputBuffer(std::streambuf* target, bool printable)
        : m_target(target), m_printable(printable) {}

    // Hands on the rest of an unfinished line; false once the target has
    // refused anything.
    bool Finish();
    bool failed() const { return m_failed; }
    // errno of the write that failed; 0 when unknown.
    int error() const { return m_error; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    bool Send(std::string_view text);
    bool SendLine(bool withLineEnd);

    std::streambuf* m_target;
    bool m_printable;
    std::string m_line; // printable text not yet handed on
    bool m_failed = false;
    int m_error = 0;
};

} // namespace ohmtrim::cli
