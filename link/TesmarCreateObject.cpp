// The library's one export: creation of the link object by its class identity.
#include "ISTDComm.h"
#include "STDComm.h"

#include <QByteArray>
#include <new>

extern "C" TESMARCOMM_EXPORT ISTDComm* TesmarCreateObject(const char* classIdentity) {
    // Identities compare like registry class identifiers: case does not matter.
    if (!classIdentity || qstricmp(classIdentity, TesmarIds::Class) != 0) return nullptr;
    return new (std::nothrow) STDComm;
}
