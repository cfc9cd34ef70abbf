#include "documents/document_printing.h"

#include "documents/mime_description.h"

#include <QMimeDatabase>

#include <algorithm>

namespace zep {

namespace {

// Types the print system converts itself (its filters for PDF, PostScript, text and these images).
bool printSystemType(const QString& name) {
    static const QStringList types{QStringLiteral("application/pdf"),
                                   QStringLiteral("application/postscript"),
                                   QStringLiteral("text/plain"),
                                   QStringLiteral("image/jpeg"),
                                   QStringLiteral("image/png"),
                                   QStringLiteral("image/gif"),
                                   QStringLiteral("image/tiff"),
                                   QStringLiteral("image/x-portable-anymap"),
                                   QStringLiteral("image/x-portable-bitmap"),
                                   QStringLiteral("image/x-portable-graymap"),
                                   QStringLiteral("image/x-portable-pixmap")};
    return types.contains(name);
}

// Types the office opens: its own and other office formats, rich text, web pages and the images its
// drawing program reads.
bool officeType(const QString& name) {
    static const QStringList prefixes{QStringLiteral("application/vnd.oasis.opendocument."),
                                      QStringLiteral("application/vnd.openxmlformats-officedocument."),
                                      QStringLiteral("application/vnd.ms-excel"),
                                      QStringLiteral("application/vnd.ms-powerpoint"),
                                      QStringLiteral("application/vnd.ms-word"),
                                      QStringLiteral("application/vnd.sun.xml.")};
    static const QStringList types{QStringLiteral("application/msword"),
                                   QStringLiteral("application/rtf"),
                                   QStringLiteral("text/rtf"),
                                   QStringLiteral("text/html"),
                                   QStringLiteral("application/xhtml+xml"),
                                   QStringLiteral("image/bmp"),
                                   QStringLiteral("image/svg+xml"),
                                   QStringLiteral("image/webp"),
                                   QStringLiteral("image/emf"),
                                   QStringLiteral("image/wmf"),
                                   QStringLiteral("image/x-tga"),
                                   QStringLiteral("image/vnd.zbrush.pcx")};
    return types.contains(name) ||
           std::any_of(prefixes.cbegin(), prefixes.cend(), [&name](const QString& p) { return name.startsWith(p); });
}

QMimeType documentType(const QString& documentPath) {
    return QMimeDatabase().mimeTypeForFile(documentPath);
}

} // namespace

// The type itself decides before its ancestors: rich text and web pages descend from plain text.
PrintWay printWayFor(const QString& documentPath) {
    const QMimeType type = documentType(documentPath);
    QStringList names{type.name()};
    names += type.allAncestors();
    for (const QString& name : std::as_const(names)) {
        if (printSystemType(name))
            return PrintWay::PrintSystem;
        if (officeType(name))
            return PrintWay::Office;
    }
    return PrintWay::None;
}

QString unprintableMessage(const QString& documentPath) {
    return QStringLiteral("Dokumente vom Typ \"%1\" kann ZEP nicht drucken.")
        .arg(germanDescription(documentType(documentPath)));
}

PrintCommand printCommand(PrintWay way, const QString& program, const QString& document, const QString& printer) {
    PrintCommand command{program, {}};
    if (way == PrintWay::Office) {
        command.arguments << QStringLiteral("--headless");
        command.arguments << (printer.isEmpty() ? QStringList{QStringLiteral("-p")}
                                                : QStringList{QStringLiteral("--pt"), printer});
    } else if (!printer.isEmpty()) {
        command.arguments << QStringLiteral("-d") << printer;
    }
    command.arguments << document;
    return command;
}

} // namespace zep
