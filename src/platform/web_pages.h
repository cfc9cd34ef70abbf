#pragma once

#include <QString>

namespace zep {

// Opens an internet address with the desktop's browser. Tests install a double.
class WebPages {
public:
    virtual ~WebPages() = default;
    // Greater than 32 when the page was handed on; 32 or less is an error code (2 nothing to open,
    // 31 no program for the address).
    virtual int open(const QString& address) = 0;

    // The installed instance, or the desktop's when none is installed.
    static WebPages& instance();
    // Does not take ownership; nullptr restores the desktop's.
    static void setInstance(WebPages* pages);
};

class DesktopWebPages : public WebPages {
public:
    int open(const QString& address) override;
};

} // namespace zep
