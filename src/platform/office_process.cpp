#include "platform/office_process.h"

#include "serial/automation.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zep {

namespace {

QStringList startArguments(const OfficeOptions& options) {
    QStringList arguments{QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(options.pipeName),
                          QStringLiteral("--norestore"), QStringLiteral("--nologo"), QStringLiteral("--nodefault"),
                          QStringLiteral("--nolockcheck")};
    if (options.headless)
        arguments << QStringLiteral("--headless");
    if (!options.userInstallation.isEmpty())
        arguments << QStringLiteral("-env:UserInstallation=%1").arg(options.userInstallation);
    return arguments;
}

} // namespace

OfficeProcess OfficeProcess::start(const OfficeOptions& options) {
    const QFileInfo program(options.sofficePath);
    if (!program.isFile() || !program.isExecutable())
        throw AutomationError(QStringLiteral("Kein Textprogramm unter %1").arg(options.sofficePath));
    std::vector<QByteArray> arguments{QFile::encodeName(options.sofficePath)};
    for (const QString& argument : startArguments(options))
        arguments.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // A session of its own: the office outlives this program, and kill() reaches the start script
    // and every process it starts.
    // Its standard channels lead nowhere: a pipe of ours held open by the office would keep a reader
    // of our output waiting for as long as the office runs.
    posix_spawn_file_actions_t channels;
    posix_spawn_file_actions_init(&channels);
    for (int channel : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&channels, channel, "/dev/null", channel == STDIN_FILENO ? O_RDONLY : O_WRONLY,
                                         0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t id = 0;
    const int failed = posix_spawn(&id, argv.front(), &channels, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&channels);
    if (failed != 0)
        throw AutomationError(QStringLiteral("%1 ließ sich nicht starten: %2")
                                  .arg(options.sofficePath, QString::fromLocal8Bit(strerror(failed))));
    return OfficeProcess(id);
}

bool OfficeProcess::isRunning() const {
    if (m_id <= 0)
        return false;
    // The start script is our child: collect it once it has ended.
    waitpid(static_cast<pid_t>(m_id), nullptr, WNOHANG);
    return processRuns(m_id);
}

void OfficeProcess::kill() {
    if (m_id <= 0)
        return;
    ::kill(-static_cast<pid_t>(m_id), SIGKILL);
    waitpid(static_cast<pid_t>(m_id), nullptr, 0);
    m_id = 0;
}

void OfficeProcess::release() {
    if (m_id <= 0)
        return;
    std::thread([id = static_cast<pid_t>(m_id)] { waitpid(id, nullptr, 0); }).detach();
    m_id = 0;
}

bool processRuns(qint64 id) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(id));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // The state follows the parenthesised command name; a zombie has ended but is not yet reaped.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && line.size() > close + 2 && line.at(close + 2) != 'Z';
}

} // namespace zep
