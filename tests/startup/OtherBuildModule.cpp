// A media module of another build of the program, as a stale one left beside the program would
// be: its engine speaks another interface version, so it refuses the version it is asked for.
#include "media/MediaEngine.h"

extern "C" Q_DECL_EXPORT MediaEngine *ZorvikaMediaEngine(int interfaceVersion) {
    static_cast<void>(interfaceVersion); // never kMediaEngineVersion + 1, the one it would serve
    return nullptr;
}
