#pragma once

#include <QString>

#include <functional>

namespace zep {

// Whether a directory lies on a network file system, where the table files' locking cannot keep two
// workstations apart.
using NetworkFileSystemCheck = std::function<bool(const QString& directory)>;

// NFS, SMB/CIFS, AFS, Coda, NCP, 9P, Ceph and GFS2 mounts, by the file system type statfs reports;
// false when statfs fails.
bool isOnNetworkFileSystem(const QString& directory);

} // namespace zep
