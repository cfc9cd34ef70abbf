#include "app/ui/zep_application.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/format_error.h"

namespace zep {
namespace {

void report(const QString& message) {
    if (Interaction* interaction = Interaction::installed())
        interaction->error(message, ApplicationName.toString());
}

} // namespace

ZepApplication::ZepApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZepApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const EngineError& e) {
        report(e.message());
    } catch (const FileError& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    }
    return false;
}

} // namespace zep
