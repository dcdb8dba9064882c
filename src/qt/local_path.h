// File names as the command line gives them: bytes in whatever encoding the file system holds.
// Qt reads arguments as UTF-8 and turns a name in another encoding (Latin-1 from an old archive)
// into replacement characters, after which the file cannot be found; these keep every byte.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace dieprofile {

// Every argument, the program's name first: every well-formed UTF-8 sequence as its
// character, every other byte B as the lone surrogate U+DC00 + B, which no text holds.
QStringList ArgumentsOf(int argc, const char* const* argv);

// The bytes of a path: the inverse of ArgumentsOf, and for any other text its UTF-8, as Qt itself
// encodes file names.
std::string PathBytes(const QString& path);

} // namespace dieprofile
