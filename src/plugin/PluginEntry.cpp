// The module library's entry: the host creates the module class by its program id.
#include "CLSKV_TARSELLO.h"
#include "FRMKV_TARSELLO.h"

#include <QtGlobal>
#include <cstring>

extern "C" Q_DECL_EXPORT Cinterface* KvCreateObject(const char* progId) {
    if (std::strcmp(progId, KVUO_TARSELLO_PROGID) != 0) return nullptr;
    return new CLSKV_TARSELLO([] { return std::make_unique<FRMKV_TARSELLO>(); });
}
