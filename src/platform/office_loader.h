#pragma once

#include "platform/office_options.h"
#include "serial/automation.h"

#include <QString>

#include <memory>

namespace zep {

// The office bridge lives in a library of its own beside the program, loaded on the first connection,
// so that the program starts and runs on a machine without the office. When the library cannot be
// loaded (the office's runtime is missing), every connection fails with the loader's reason.
class OfficeAutomationLoader : public Automation {
public:
    OfficeAutomationLoader(OfficeOptions options, QString libraryPath);
    ~OfficeAutomationLoader() override;

    void connect(const QString& programId, Connect how) override;
    void disconnect() override;
    bool isConnected() const override;
    QVariant call(const QString& member, const QVariantList& arguments) override;
    void setProperty(const QString& member, const QVariant& value) override;
    QVariant property(const QString& member) override;

    // The library as the build and the installation lay it out: beside the program.
    static QString libraryBesideProgram();

private:
    Automation& loaded(const QString& member);

    OfficeOptions options_;
    QString libraryPath_;
    std::unique_ptr<Automation> office_;
};

} // namespace zep
