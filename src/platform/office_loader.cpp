#include "platform/office_loader.h"

#include <QCoreApplication>
#include <QLibrary>

namespace zep {
namespace {

using CreateOffice = Automation* (*)(const OfficeOptions*);

} // namespace

OfficeAutomationLoader::OfficeAutomationLoader(OfficeOptions options, QString libraryPath)
    : options_(std::move(options)), libraryPath_(std::move(libraryPath)) {}

OfficeAutomationLoader::~OfficeAutomationLoader() = default;

QString OfficeAutomationLoader::libraryBesideProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libzep_office.so");
}

// The library stays loaded for the rest of the run: the object it made lives on.
void OfficeAutomationLoader::connect(const QString& programId, Connect how) {
    if (!office_) {
        QLibrary library(libraryPath_);
        const auto create = reinterpret_cast<CreateOffice>(library.resolve("zepCreateOfficeAutomation"));
        if (!create)
            throw AutomationError(QStringLiteral("Die Verbindung zum Office ist nicht verfügbar: ") +
                                  library.errorString());
        office_.reset(create(&options_));
    }
    office_->connect(programId, how);
}

void OfficeAutomationLoader::disconnect() {
    if (office_)
        office_->disconnect();
}

bool OfficeAutomationLoader::isConnected() const {
    return office_ && office_->isConnected();
}

QVariant OfficeAutomationLoader::call(const QString& member, const QVariantList& arguments) {
    return loaded(member).call(member, arguments);
}

void OfficeAutomationLoader::setProperty(const QString& member, const QVariant& value) {
    loaded(member).setProperty(member, value);
}

QVariant OfficeAutomationLoader::property(const QString& member) {
    return loaded(member).property(member);
}

Automation& OfficeAutomationLoader::loaded(const QString& member) {
    if (!office_)
        throw AutomationError(member + QStringLiteral(": keine Verbindung"));
    return *office_;
}

} // namespace zep
