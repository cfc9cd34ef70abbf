#include "app/interaction.h"

#include <QtGlobal>

namespace zep {

namespace {

Interaction* current = nullptr;

} // namespace

Interaction& Interaction::instance() {
    if (current == nullptr)
        qFatal("zep::Interaction::instance() used before an interaction was installed");
    return *current;
}

Interaction* Interaction::installed() {
    return current;
}

void Interaction::setInstance(Interaction* interaction) {
    current = interaction;
}

} // namespace zep
