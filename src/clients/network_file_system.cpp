#include "clients/network_file_system.h"

#include <QFile>

#include <array>

#include <sys/vfs.h>

namespace zep {

namespace {

// Magic numbers of statfs' f_type (linux/magic.h and the file systems' own headers). FUSE is left
// out: it carries local file systems as well as network ones.
constexpr std::array<unsigned long, 11> networkTypes = {
    0x6969UL,     // NFS
    0x517BUL,     // SMB
    0xFF534D42UL, // CIFS
    0xFE534D42UL, // SMB2
    0x5346414FUL, // AFS (OpenAFS)
    0x6B414653UL, // AFS (kernel)
    0x73757245UL, // Coda
    0x564CUL,     // NCP
    0x01021997UL, // 9P
    0x00C36400UL, // Ceph
    0x01161970UL, // GFS2
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
