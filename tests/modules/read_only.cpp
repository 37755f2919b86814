// Well-formed records in read-only memory where the host must write: built
// twice, once with a constant ImportTable (READ_ONLY_IMPORTS) and once with a
// constant element chain holding a text element (READ_ONLY_TEXT). The host
// must refuse both instead of crashing on its first write.
#include "frame/records.h"

static void KCALL callback(GaugeHeader*, uint32_t, void*) {}
static double KCALL text_callback(TextElement*) { return 0; }

static char name[] = "KESTREL";
extern GaugeHeader header;

#if defined(READ_ONLY_TEXT)
#define CHAIN const
#else
#define CHAIN
#endif

struct Chain {
    StaticElement background;
    ElementHeader* background_children[2];
    TextElement text;
    ElementHeader* root[2];
};

// Constant records that hold pointers end up in memory the dynamic loader
// write-protects once it has relocated them.
static CHAIN Chain chain = {
    .background = {{.kind = KIND_STATIC, .resource_id = 0x100, .gauge = &header,
                    .children = const_cast<ElementHeader**>(chain.background_children)}},
    .background_children = {const_cast<ElementHeader*>(&chain.text.header), nullptr},
    .text = {.header = {.kind = KIND_TEXT, .resource_id = 0xFFFFFFFF, .gauge = &header},
             .box_width = 40, .box_height = 12, .capacity = 16, .callback = text_callback},
    .root = {const_cast<ElementHeader*>(&chain.background.header), nullptr},
};

GaugeHeader header = {.version = GAUGE_HEADER_VERSION, .name = name,
                      .elements = const_cast<ElementHeader**>(chain.root), .callback = callback};

extern "C" {
#if defined(READ_ONLY_IMPORTS)
KESTREL_EXPORT extern const ImportTableRecord ImportTable;
const ImportTableRecord ImportTable = {{IMPORT_HOST_TABLE, nullptr}, {0, nullptr}};
#else
KESTREL_EXPORT ImportTableRecord ImportTable = {{IMPORT_HOST_TABLE, nullptr}, {0, nullptr}};
#endif
KESTREL_EXPORT LinkageRecord Linkage = {MODULE_ID, nullptr, nullptr, 0, 0, MODULE_VERSION, {&header, nullptr}};
}
