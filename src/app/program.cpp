#include "app/program.h"

#include <QtGlobal>

namespace zep {

namespace {

Program* current = nullptr;

} // namespace

Program& Program::instance() {
    if (current == nullptr)
        qFatal("zep::Program::instance() used before start-up set it");
    return *current;
}

void Program::setInstance(Program* program) {
    current = program;
}

} // namespace zep
