#include "qt/printing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace dieprofile {

namespace {

QString& ToldModule() {
    static QString path;
    return path;
}

// Where the module may be: where the program was told, else the private library folder of the
// installed program, then beside the program in the build tree.
QStringList ModuleCandidates() {
    if (!ToldModule().isEmpty()) {
        return {ToldModule()};
    }
    const QString program = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(program + QStringLiteral("/" DIEPROFILE_PRINTING_FROM_PROGRAM)),
            QDir::cleanPath(program + QStringLiteral("/" DIEPROFILE_PRINTING_MODULE))};
}

} // namespace

Expected<Printing*, QString> LoadedPrinting() {
    // Loaded once and kept: its code stays in use by the dialogs and printers it made.
    static Printing* loaded = nullptr;
    if (loaded != nullptr) {
        return loaded;
    }
    const QStringList candidates = ModuleCandidates();
    for (const QString& path : candidates) {
        if (!QFileInfo::exists(path)) {
            continue;
        }
        QLibrary module(path);
        if (!module.load()) {
            return QStringLiteral("the printing module could not be loaded (%1)")
                .arg(module.errorString());
        }
        const auto entry = reinterpret_cast<PrintingEntry>(module.resolve(kPrintingEntry));
        loaded = entry != nullptr ? entry(DIEPROFILE_VERSION) : nullptr;
        if (loaded == nullptr) {
            return QStringLiteral("the printing module %1 is not the one of this version")
                .arg(path);
        }
        return loaded;
    }
    return QStringLiteral("the printing module is missing (looked for %1)")
        .arg(candidates.join(QStringLiteral(", ")));
}

void SetPrintingModule(const QString& path) {
    ToldModule() = path;
}

Expected<QByteArray, QString> SvgOfPage(const Page& page, const PageDocumentInfo& info) {
    const Expected<Printing*, QString> printing = LoadedPrinting();
    if (!printing) {
        return printing.Error();
    }
    return (*printing)->Svg(page, info);
}

} // namespace dieprofile
