#include "clients/network_file_system.h"

#include <QFile>

#include <array>

#include <sys/vfs.h>

namespace zep {

namespace {

// Magic numbers of statfs' f_type (linux/magic.h).
constexpr std::array<unsigned long, 4> networkTypes = {
    0x6969UL,     // NFS
    0x517BUL,     // SMB
    0xFF534D42UL, // CIFS
    0xFE534D42UL, // SMB2
};

} // namespace

bool isOnNetworkFileSystem(const QString& directory) {
    struct statfs info {};
    if (statfs(QFile::encodeName(directory).constData(), &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFUL;
    for (unsigned long network : networkTypes)
        if (type == network)
            return true;
    return false;
}

} // namespace zep
