#include "qt/local_path.h"

#include "core/utf8.h"

#include <string_view>

namespace dieprofile {

namespace {

constexpr char16_t kEscapedByte = 0xDC00;

QString ArgumentOf(std::string_view bytes) {
    QString text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = Utf8SequenceLength(bytes.substr(i));
        if (length == 0) {
            text +=
                QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            text += QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(length));
            i += length;
        }
    }
    return text;
}

} // namespace

QStringList ArgumentsOf(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << ArgumentOf(argv[i]);
    }
    return arguments;
}

std::string PathBytes(const QString& path) {
    std::string bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        const char16_t unit = i < path.size() ? path[i].unicode() : 0;
        // Only a lone low surrogate stands for a byte; one after a high surrogate is half of a
        // character beyond the first plane.
        const bool escaped = i < path.size() && unit >= kEscapedByte + 0x80 &&
                             unit <= kEscapedByte + 0xFF &&
                             (i == 0 || !path[i - 1].isHighSurrogate());
        if (i == path.size() || escaped) {
            bytes += path.mid(runStart, i - runStart).toStdString();
            runStart = i + 1;
        }
        if (escaped) {
            bytes += static_cast<char>(unit - kEscapedByte);
        }
    }
    return bytes;
}

} // namespace dieprofile
