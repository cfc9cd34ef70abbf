#pragma once

#include <unistd.h>

#include <utility>

namespace zep {

// An open descriptor that is closed (unchecked) when a failure leaves early.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    int get() const { return fd_; }
    // The close that counts: on network and some local file systems it reports a late write error.
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

} // namespace zep
