#pragma once

#include "platform/click_sound.h"

#include <QString>

namespace zep {

// The desktop's "button-pressed" event sound from its sound theme, played by the sound-event tool
// when one is installed; silent otherwise.
class DesktopClickSound : public ClickSound {
public:
    DesktopClickSound();
    void play() override;

private:
    QString player_;
};

} // namespace zep
