#include "dirapi/problems.h"

#include <cstdio>

namespace dirapi {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence of a character above U+009F that starts at text[i],
// or 0 when none starts there (the C1 controls U+0080 .. U+009F count as none).
std::size_t printableSequenceAt(std::string_view text, std::size_t i)
{
    const auto at = [&](std::size_t k) -> unsigned {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0U;
    };
    const unsigned lead = at(0);
    std::size_t length = 0;
    unsigned low = 0x80; // the second byte's range, narrower after some leads
    unsigned high = 0xBF;
    if (lead == 0xC2) {
        length = 2;
        low = 0xA0; // past the C1 controls
    } else if (lead >= 0xC3 && lead <= 0xDF) {
        length = 2;
    } else if (lead == 0xE0) {
        length = 3;
        low = 0xA0;
    } else if (lead == 0xED) {
        length = 3;
        high = 0x9F; // no surrogates
    } else if (lead >= 0xE1 && lead <= 0xEF) {
        length = 3;
    } else if (lead == 0xF0) {
        length = 4;
        low = 0x90;
    } else if (lead >= 0xF1 && lead <= 0xF3) {
        length = 4;
    } else if (lead == 0xF4) {
        length = 4;
        high = 0x8F; // up to U+10FFFF
    } else {
        return 0;
    }
    if (at(1) < low || at(1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (!isContinuation(static_cast<unsigned char>(at(k))))
            return 0;
    }
    return length;
}

void appendEscaped(std::string& out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// Printable ASCII and valid UTF-8 above the C1 controls as they are, every other byte escaped;
// the backslash too when asked, so that escaped plant text cannot be mistaken for an escape.
std::string escaped(std::string_view text, bool escapeBackslash)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            if (byte == '\\' && escapeBackslash)
                out += "\\\\";
            else
                out += static_cast<char>(byte);
            ++i;
        } else if (const std::size_t length = printableSequenceAt(text, i)) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            appendEscaped(out, byte);
            ++i;
        }
    }
    return out;
}

} // namespace

void reportProblem(std::string_view message)
{
    const std::string line = escaped(message, false) + '\n';
    // A standard error that fails (a pipe nobody reads) loses the message, nothing else.
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

std::string quoted(std::string_view text)
{
    if (text.size() <= kShownBytes)
        return '\'' + escaped(text, true) + '\'';
    // Cut before a character that would be split, not inside it.
    std::size_t cut = kShownBytes;
    for (int back = 0; back < 3 && cut > 0 && isContinuation(static_cast<unsigned char>(text[cut]));
         ++back)
        --cut;
    return '\'' + escaped(text.substr(0, cut), true) + "'... (" + std::to_string(text.size()) +
           " bytes)";
}

} // namespace dirapi
