// A module whose Linkage carries the wrong module id.
#include "frame/records.h"

extern "C" {
KESTREL_EXPORT ImportTableRecord ImportTable = {{IMPORT_HOST_TABLE, nullptr}, {0, nullptr}};
KESTREL_EXPORT LinkageRecord Linkage = {0x12, nullptr, nullptr, 0, 0, MODULE_VERSION, {nullptr, nullptr}};
}
