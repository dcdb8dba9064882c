#include "output/text_fit.h"

#include "core/utf8.h"

#include <algorithm>
#include <cctype>

namespace dieprofile {

double TextWidth(std::string_view text, double height) {
    double em = 0;
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c & 0xC0) == 0x80) {
            continue; // a continuation byte of a character counted already
        }
        const bool narrow = c == '.' || c == ',' || c == ':' || c == ' ' || c == 'i' || c == 'l';
        const bool wide = c >= 0x80 || std::isupper(c) != 0 || c == 'm' || c == 'w' || c == '%';
        const bool widest = c == 'W' || c == '@';
        em += narrow ? 0.3 : widest ? 1.0 : wide ? 0.85 : 0.56;
    }
    return em * height / kCapHeightPerEm;
}

namespace {

// A word too wide for a line, cut between characters into pieces that fit.
std::vector<std::string> Pieces(const std::string& word, double height, double width) {
    std::vector<std::string> pieces{std::string()};
    for (std::size_t i = 0; i < word.size();) {
        std::size_t next = i + 1;
        while (next < word.size() && (static_cast<unsigned char>(word[next]) & 0xC0) == 0x80) {
            ++next; // the rest of this character's bytes
        }
        const std::string character = word.substr(i, next - i);
        if (!pieces.back().empty() && TextWidth(pieces.back() + character, height) > width) {
            pieces.emplace_back();
        }
        pieces.back() += character;
        i = next;
    }
    return pieces;
}

} // namespace

std::vector<std::string> Wrap(const std::string& text, double height, double width,
                              std::size_t maxLines) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        for (const std::string& word : Pieces(text.substr(start, end - start), height, width)) {
            std::string joined = line;
            if (!joined.empty()) {
                joined += ' ';
            }
            joined += word;
            if (!line.empty() && TextWidth(joined, height) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = joined;
            }
        }
        start = end + 1;
    }
    lines.push_back(line);
    if (lines.size() > maxLines) {
        lines.resize(maxLines);
        // The ellipsis takes the room of the last characters.
        while (!lines.back().empty() && TextWidth(lines.back() + "\u2026", height) > width) {
            lines.back().pop_back();
            while (!lines.back().empty() &&
                   (static_cast<unsigned char>(lines.back().back()) & 0xC0) == 0x80) {
                lines.back().pop_back();
            }
            if (!lines.back().empty() &&
                (static_cast<unsigned char>(lines.back().back()) & 0xC0) == 0xC0) {
                lines.back().pop_back(); // the lead byte of the character just taken off
            }
        }
        lines.back() += "\u2026";
    }
    return lines;
}

std::string CutToWidth(std::string_view text, double height, double width) {
    if (TextWidth(text, height) <= width) {
        return std::string(text);
    }
    // Whole characters only: a cut through a character's bytes would print as a stray glyph.
    std::string cut;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t next = i + std::max<std::size_t>(1, Utf8SequenceLength(text.substr(i)));
        if (TextWidth(std::string(text.substr(0, next)) + "\u2026", height) > width) {
            break;
        }
        cut = text.substr(0, next);
        i = next;
    }
    return cut + "\u2026";
}

} // namespace dieprofile
