#include "platform/office_automation.h"

// The one entry point of the office library, found by OfficeAutomationLoader.
extern "C" Q_DECL_EXPORT zep::Automation* zepCreateOfficeAutomation(const zep::OfficeOptions* options) {
    return new zep::OfficeAutomation(*options);
}
