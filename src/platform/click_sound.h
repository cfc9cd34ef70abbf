#pragma once

namespace zep {

// The short sound at the start of a toolbar action; silent where the desktop has none.
class ClickSound {
public:
    virtual ~ClickSound() = default;
    virtual void play() = 0;
};

} // namespace zep
