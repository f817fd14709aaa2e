#include "about/ProgramResources.h"

#include <QtGlobal>

void InitProgramResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(about);
        return true;
    }();
    Q_UNUSED(done);
}
