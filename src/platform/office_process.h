#pragma once

#include "platform/office_options.h"

#include <QString>

namespace zep {

// An office process this program started, in a session and process group of its own; kill() ends
// the whole group (the start script and the office it runs).
class OfficeProcess {
public:
    // Starts the office to accept connections on the options' pipe; throws AutomationError.
    static OfficeProcess start(const OfficeOptions& options);

    OfficeProcess() = default;
    qint64 id() const { return m_id; }
    bool isRunning() const;
    void kill();
    // Lets the office run on; the start process is collected in the background once it ends.
    void release();

private:
    explicit OfficeProcess(qint64 id) : m_id(id) {}
    qint64 m_id = 0;
};

// True while a process with the id exists and is no zombie.
bool processRuns(qint64 id);

} // namespace zep
