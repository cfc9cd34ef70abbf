#include "data/application_register.h"

#include "data/engine_error.h"
#include "data/schema.h"
#include "data/table.h"
#include "documents/associations.h"

namespace zep {

namespace {

// Documents, spreadsheets, presentations, PDF, images, web pages and mail, most common first: when
// two extensions cut to the same register key, the first one that the desktop opens keeps it.
const QStringList& officeExtensions() {
    static const QStringList extensions{
        QStringLiteral("doc"), QStringLiteral("docx"), QStringLiteral("odt"),  QStringLiteral("rtf"),
        QStringLiteral("txt"), QStringLiteral("xls"),  QStringLiteral("xlsx"), QStringLiteral("ods"),
        QStringLiteral("csv"), QStringLiteral("ppt"),  QStringLiteral("pptx"), QStringLiteral("odp"),
        QStringLiteral("pdf"), QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
        QStringLiteral("gif"), QStringLiteral("tif"),  QStringLiteral("tiff"), QStringLiteral("bmp"),
        QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("eml"),  QStringLiteral("msg"),
        QStringLiteral("xml")};
    return extensions;
}

// The width of a text field; 0 when the field sets none.
int textWidth(Table& table, QStringView fieldName) {
    return table.field(fieldName).info().def.size;
}

QString cutTo(const QString& text, int width) {
    return width > 0 ? text.left(width) : text;
}

// The position of the application's own icon among the icons of its program file; 0 when it is not there.
int iconNumber(const Associations& associations, const DesktopApplication& application) {
    const qsizetype index = associations.programIcons(registerProgram(application)).indexOf(application.icon);
    return index < 0 ? 0 : int(index);
}

void appendApplication(Table& table, const QString& ext, const DesktopApplication& application, int iconNr) {
    table.append();
    table.field(u"Ext").setValue(ext);
    table.field(u"Anw").setValue(registerProgram(application));
    table.field(u"Titel").setValue(application.name);
    table.field(u"IconNr").setValue(qint64(iconNr));
    table.post();
}

void fillFromDesktop(Table& table, const Associations& associations) {
    const int extWidth = textWidth(table, u"Ext");
    const int programWidth = textWidth(table, u"Anw");
    QStringList keys;
    for (const QString& extension : officeExtensions()) {
        const QString ext = cutTo(extension, extWidth);
        if (keys.contains(ext))
            continue;
        const auto application = associations.defaultApplication(extension);
        // A program path cut to the field's width would name another file.
        const QString program = application ? registerProgram(*application) : QString();
        if (program.isEmpty() || (programWidth > 0 && program.size() > programWidth))
            continue;
        appendApplication(table, ext, *application, iconNumber(associations, *application));
        keys.append(ext);
    }
}

} // namespace

bool START_01(const QString& generalDir, const Associations& associations) {
    try {
        Table table;
        table.setDirectory(generalDir);
        table.setTableName(schema::applications().name);
        table.open();
        if (table.isEmpty())
            fillFromDesktop(table, associations);
        return true;
    } catch (const EngineError&) {
        return false;
    }
}

} // namespace zep
