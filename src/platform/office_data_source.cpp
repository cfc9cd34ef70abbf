#include "platform/office_data_source.h"

#include "data/format_error.h"
#include "platform/office_data_copy.h"
#include "platform/uno_bridge.h"
#include "serial/automation.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/sdb/CommandType.hpp>
#include <com/sun/star/sdb/DatabaseContext.hpp>
#include <com/sun/star/sdb/XDocumentDataSource.hpp>
#include <com/sun/star/sdb/XOfficeDatabaseDocument.hpp>
#include <com/sun/star/text/XDependentTextField.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextFieldsSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/uno/XNamingService.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace zep {

namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// The format of the office's copy of the data file: every value quoted, so every column is text.
css::uno::Sequence<css::beans::PropertyValue> flatFileInfo(const QString& extension) {
    return unoSequence({unoProperty("Extension", Any(toUno(extension))), unoProperty("HeaderLine", Any(true)),
                        unoProperty("FieldDelimiter", Any(rtl::OUString("\t"))),
                        unoProperty("StringDelimiter", Any(rtl::OUString("\""))),
                        unoProperty("DecimalDelimiter", Any(rtl::OUString(","))),
                        unoProperty("ThousandDelimiter", Any(rtl::OUString("."))),
                        unoProperty("CharSet", Any(rtl::OUString("windows-1252")))});
}

// Closing the old data source's document closes every connection on it; the letter's cached result
// sets go with them, and the next merge reads the file anew.
void revokeOld(const Reference<css::sdb::XDatabaseContext>& databases, const rtl::OUString& name) {
    if (!databases->hasByName(name))
        return;
    Reference<css::sdb::XDocumentDataSource> old(databases->getByName(name), UNO_QUERY);
    Reference<css::uno::XNamingService>(databases, UNO_QUERY_THROW)->revokeObject(name);
    if (!old.is())
        return;
    Reference<css::util::XCloseable> document(old->getDatabaseDocument(), UNO_QUERY);
    if (document.is())
        document->close(true);
    Reference<css::lang::XComponent>(old, UNO_QUERY_THROW)->dispose();
}

// The office's text driver takes a column for numbers when each of its values looks like one ("01067",
// "1.000") and then merges them as numbers ("1067", "1000"); a quoted value is always text. So the
// office reads a copy of the data file with every value quoted, and every value merges exactly as written.
QString quotedCopyOf(const QFileInfo& file) {
    try {
        return writeOfficeDataCopy(file.absoluteFilePath());
    } catch (const FileError& error) {
        throw AutomationError(QStringLiteral("Die Kopie der Datendatei für das Office wurde nicht geschrieben: ") +
                              error.message());
    }
}

rtl::OUString fileUrl(const QString& path) {
    return toUno(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
}

} // namespace

QString registerDataFile(const Reference<css::uno::XComponentContext>& office, const QString& dataFile,
                         const QString& name) {
    const QFileInfo file(dataFile);
    if (!file.isFile())
        throw AutomationError(QStringLiteral("Datendatei %1 fehlt").arg(dataFile));
    auto databases = css::sdb::DatabaseContext::create(office);
    const rtl::OUString unoName = toUno(name);
    revokeOld(databases, unoName);

    Reference<css::sdb::XOfficeDatabaseDocument> document(
        office->getServiceManager()->createInstanceWithContext("com.sun.star.sdb.OfficeDatabaseDocument", office),
        UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> source(document->getDataSource(), UNO_QUERY_THROW);
    const QString folder = quotedCopyOf(file);
    const QString folderUrl = QUrl::fromLocalFile(folder + QLatin1Char('/')).toString(QUrl::FullyEncoded);
    source->setPropertyValue("URL", Any(toUno(QStringLiteral("sdbc:flat:") + folderUrl)));
    source->setPropertyValue("Info", Any(flatFileInfo(QStringLiteral("txt"))));
    const QString odb = QDir(file.absolutePath()).filePath(file.completeBaseName() + QStringLiteral(".odb"));
    Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)->storeAsURL(fileUrl(odb), {});
    Reference<css::uno::XNamingService>(databases, UNO_QUERY_THROW)->registerObject(unoName, source);
    return file.completeBaseName();
}

namespace {

const char* const databaseFieldService = "com.sun.star.text.textfield.Database";

Reference<css::beans::XPropertySet> columnMaster(const Reference<css::lang::XMultiServiceFactory>& letter,
                                                 const QString& name, const QString& table,
                                                 const rtl::OUString& column) {
    Reference<css::beans::XPropertySet> master(letter->createInstance("com.sun.star.text.fieldmaster.Database"),
                                               UNO_QUERY_THROW);
    master->setPropertyValue("DataBaseName", Any(toUno(name)));
    master->setPropertyValue("DataTableName", Any(toUno(table)));
    master->setPropertyValue("DataCommandType", Any(css::sdb::CommandType::TABLE));
    master->setPropertyValue("DataColumnName", Any(column));
    return master;
}

bool boundTo(const Reference<css::beans::XPropertySet>& master, const QString& name, const QString& table) {
    return fromUno(master->getPropertyValue("DataBaseName").get<rtl::OUString>()) == name &&
           fromUno(master->getPropertyValue("DataTableName").get<rtl::OUString>()) == table &&
           master->getPropertyValue("DataCommandType").get<sal_Int32>() == css::sdb::CommandType::TABLE;
}

// A field's master cannot be exchanged once the field is in the text: a new field takes its place.
void rebindDatabaseField(const Reference<css::lang::XMultiServiceFactory>& letter,
                         const Reference<css::text::XDependentTextField>& field, const QString& name,
                         const QString& table) {
    Reference<css::beans::XPropertySet> master = field->getTextFieldMaster();
    if (!master.is() || boundTo(master, name, table))
        return;
    const rtl::OUString column = master->getPropertyValue("DataColumnName").get<rtl::OUString>();
    Reference<css::text::XDependentTextField> replacement(
        letter->createInstance(rtl::OUString::createFromAscii(databaseFieldService)), UNO_QUERY_THROW);
    replacement->attachTextFieldMaster(columnMaster(letter, name, table, column));
    Reference<css::text::XTextRange> anchor = field->getAnchor();
    anchor->getText()->insertTextContent(anchor, Reference<css::text::XTextContent>(replacement, UNO_QUERY_THROW),
                                         true);
}

// Fields such as "next record" name the data source themselves.
void rebindRecordField(const Reference<css::beans::XPropertySet>& field, const QString& name, const QString& table) {
    auto info = field->getPropertySetInfo();
    if (!info->hasPropertyByName("DataBaseName") || !info->hasPropertyByName("DataTableName"))
        return;
    field->setPropertyValue("DataBaseName", Any(toUno(name)));
    field->setPropertyValue("DataTableName", Any(toUno(table)));
    if (info->hasPropertyByName("DataCommandType"))
        field->setPropertyValue("DataCommandType", Any(css::sdb::CommandType::TABLE));
}

void rebindFields(const Reference<css::frame::XModel>& letter, const QString& name, const QString& table) {
    Reference<css::lang::XMultiServiceFactory> factory(letter, UNO_QUERY_THROW);
    Reference<css::text::XTextFieldsSupplier> supplier(letter, UNO_QUERY_THROW);
    std::vector<Reference<css::uno::XInterface>> fields;
    auto enumeration = supplier->getTextFields()->createEnumeration();
    while (enumeration->hasMoreElements())
        fields.push_back(enumeration->nextElement().get<Reference<css::uno::XInterface>>());
    for (const auto& field : fields) {
        Reference<css::lang::XServiceInfo> service(field, UNO_QUERY);
        if (service.is() && service->supportsService(rtl::OUString::createFromAscii(databaseFieldService)))
            rebindDatabaseField(factory, Reference<css::text::XDependentTextField>(field, UNO_QUERY_THROW), name,
                                table);
        else if (Reference<css::beans::XPropertySet> properties(field, UNO_QUERY); properties.is())
            rebindRecordField(properties, name, table);
    }
}

} // namespace

void attachDataSource(const Reference<css::frame::XModel>& letter, const QString& name, const QString& table) {
    Reference<css::lang::XMultiServiceFactory> factory(letter, UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> settings(factory->createInstance("com.sun.star.text.DocumentSettings"),
                                                 UNO_QUERY_THROW);
    settings->setPropertyValue("CurrentDatabaseDataSource", Any(toUno(name)));
    settings->setPropertyValue("CurrentDatabaseCommand", Any(toUno(table)));
    settings->setPropertyValue("CurrentDatabaseCommandType", Any(css::sdb::CommandType::TABLE));
    rebindFields(letter, name, table);
}

} // namespace zep
