#include "platform/desktop_click_sound.h"

#include <QProcess>
#include <QStandardPaths>

namespace zep {

DesktopClickSound::DesktopClickSound() : player_(QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play"))) {}

void DesktopClickSound::play() {
    if (!player_.isEmpty())
        QProcess::startDetached(player_, {QStringLiteral("-i"), QStringLiteral("button-pressed")});
}

} // namespace zep
