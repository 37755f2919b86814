// The loader refuses malformed modules with the fault named, and never
// follows a pointer out of the module.
#include <string.h>

#include "host/loader.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

// ---------------------------------------------------------------------------
// Module files

class LoadingFiles : public HostTest {
protected:
    std::string refusal(const std::string& module) {
        std::string error;
        const size_t loaded = host.gauges().size();
        EXPECT_FALSE(host.load({module}, &error));
        EXPECT_EQ(host.gauges().size(), loaded);
        return error;
    }
};

TEST_F(LoadingFiles, EachFaultIsNamedOnOneLineWithTheModule) {
    EXPECT_EQ(refusal("nonexistent"),
              "nonexistent: no such module file (" KESTREL_GAUGE_DIR "/nonexistent.gau)");
    EXPECT_EQ(refusal(test_module("not_a_module")).rfind("not_a_module: cannot be loaded: ", 0), 0u);
    EXPECT_EQ(refusal(test_module("no_linkage")), "no_linkage: exports no Linkage record");
    EXPECT_EQ(refusal(test_module("bad_linkage")), "bad_linkage: Linkage has module id 0x12, not 0x13");
}

TEST_F(LoadingFiles, GoodModulesLoadBesideBadOnes) {
    std::string error;
    EXPECT_FALSE(host.load({"broadcaster", test_module("bad_linkage"), "flap_lever", "nonexistent"}, &error));
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
    EXPECT_NE(host.find("broadcaster"), nullptr);
    ASSERT_NE(host.find("flap_lever"), nullptr);
    host.frame();
    EXPECT_EQ(host.find("flap_lever")->state[2].value[0], 0);
}

// The host writes its table into ImportTable and buffer addresses into text
// elements: records in write-protected memory would crash it.
TEST_F(LoadingFiles, RecordsTheHostWritesIntoMustBeWritable) {
    EXPECT_EQ(refusal(test_module("read_only_imports")),
              "read_only_imports: ImportTable lies in read-only memory");
    EXPECT_EQ(refusal(test_module("read_only_text")),
              "read_only_text: element 1 (text) lies in read-only memory");
}

TEST_F(LoadingFiles, AModuleIsLoadedOnlyOnce) {
    load({"flap_lever"});
    EXPECT_EQ(refusal("flap_lever"), "flap_lever: already loaded");
    EXPECT_EQ(host.gauges().size(), 1u);
}

// ---------------------------------------------------------------------------
// Records in memory, made malformed one fault at a time

double KCALL icon_callback(IconElement*) { return 0; }
double KCALL text_callback(TextElement*) { return 0; }
int32_t KCALL mouse_callback(MouseArgs*, uint32_t) { return 0; }
void KCALL gauge_callback(GaugeHeader*, uint32_t, void*) {}

struct FakeModule {
    LinkageRecord linkage;
    ImportTableRecord imports;
    GaugeHeader header;
    char name[8];
    ElementHeader* root[2];
    StaticElement background;
    ElementHeader* background_list[2];
    NeedleElement needle;
    ElementHeader* needle_list[2];
    NonlinearityEntry table[2];
    IconElement icon;
    ElementHeader* icon_list[2];
    FailureEntry failures[2];
    TextElement text;  // linked only by the cases that need it
    ElementHeader* text_list[2];
    alignas(8) unsigned char spare[sizeof(IconElement) + 8];
    MouseRect mouse[5];  // last: the cases rely on nothing following it

    FakeModule() {
        memset(static_cast<void*>(this), 0, sizeof *this);
        linkage.module_id = MODULE_ID;
        linkage.version = MODULE_VERSION;
        linkage.gauges[0] = &header;
        imports.host.id = IMPORT_HOST_TABLE;
        strcpy(name, "KESTREL");
        header.version = GAUGE_HEADER_VERSION;
        header.name = name;
        header.elements = root;
        header.mouse_rect = mouse;
        header.callback = gauge_callback;
        root[0] = &background.header;
        background.header.kind = KIND_STATIC;
        background.header.gauge = &header;
        background.header.children = needle_list;
        needle_list[0] = &needle.header;
        needle.header.kind = KIND_NEEDLE;
        needle.header.gauge = &header;
        needle.header.children = icon_list;
        needle.table = table;
        needle.table_count = 2;
        icon_list[0] = &icon.header;
        icon.header.kind = KIND_ICON;
        icon.header.gauge = &header;
        icon.header.failures = failures;
        icon.frame_count = 2;
        icon.callback = icon_callback;
        text_list[0] = &text.header;
        text.header.kind = KIND_TEXT;
        text.header.gauge = &header;
        text.box_width = 40;
        text.box_height = 12;
        text.capacity = 16;
        text.callback = text_callback;
        mouse[0].kind = MOUSE_START;
        mouse[1].kind = MOUSE_CHILD;
        mouse[1].box = {0, 0, 10, 10};
        mouse[1].callback = mouse_callback;
        mouse[2].kind = MOUSE_END_AREA;
        mouse[3].kind = MOUSE_END_LIST;
    }

    std::string read(GaugeLayout* layout = nullptr, std::vector<Range> readonly = {}) {
        Memory m;
        m.data.push_back({reinterpret_cast<uintptr_t>(this), reinterpret_cast<uintptr_t>(this + 1)});
        m.readonly = std::move(readonly);
        for (const void* f : {reinterpret_cast<const void*>(icon_callback),
                              reinterpret_cast<const void*>(text_callback),
                              reinterpret_cast<const void*>(mouse_callback),
                              reinterpret_cast<const void*>(gauge_callback)})
            m.code.push_back({reinterpret_cast<uintptr_t>(f), reinterpret_cast<uintptr_t>(f) + 1});
        GaugeLayout scratch;
        return read_module(&linkage, &imports, m, layout ? layout : &scratch);
    }
};

TEST(LoaderRecords, AWellFormedModuleIsWalkedInDrawingOrder) {
    FakeModule f;
    GaugeLayout layout;
    ASSERT_EQ(f.read(&layout), "");
    EXPECT_EQ(layout.header, &f.header);
    EXPECT_EQ(layout.elements, (std::vector<ElementHeader*>{&f.background.header, &f.needle.header,
                                                             &f.icon.header}));
    EXPECT_EQ(layout.mouse.size(), 3u);
}

TEST(LoaderRecords, LinkageAndImportFaults) {
    struct Case {
        const char* fault;
        void (*spoil)(FakeModule&);
    } cases[] = {
        {"Linkage has module id 0x14, not 0x13", [](FakeModule& f) { f.linkage.module_id = 0x14; }},
        {"Linkage has version 0x700, not 0x800 or 0x900", [](FakeModule& f) { f.linkage.version = 0x700; }},
        {"Linkage lists no gauge", [](FakeModule& f) { f.linkage.gauges[0] = nullptr; }},
        {"Linkage lists more than one gauge", [](FakeModule& f) { f.linkage.gauges[1] = &f.header; }},
        {"ImportTable asks for import 0x3, not the host table 0x0F", [](FakeModule& f) { f.imports.host.id = 3; }},
        {"ImportTable has no end entry", [](FakeModule& f) { f.imports.end.id = 7; }},
        {"gauge header lies outside the module",
         [](FakeModule& f) { f.linkage.gauges[0] = reinterpret_cast<GaugeHeader*>(uintptr_t(8)); }},
        {"gauge header has version 700, not 800", [](FakeModule& f) { f.header.version = 700; }},
        {"gauge name is missing or too long", [](FakeModule& f) { f.header.name = nullptr; }},
        {"gauge callback is missing or outside the module", [](FakeModule& f) { f.header.callback = nullptr; }},
    };
    for (const Case& c : cases) {
        FakeModule f;
        c.spoil(f);
        EXPECT_EQ(f.read(), c.fault);
    }
}

TEST(LoaderRecords, ElementFaults) {
    struct Case {
        const char* fault;
        void (*spoil)(FakeModule&);
    } cases[] = {
        {"element list is empty", [](FakeModule& f) { f.root[0] = nullptr; }},
        {"element chain loops back at element 3", [](FakeModule& f) { f.icon.header.children = f.root; }},
        {"element chain loops back at element 3",
         [](FakeModule& f) { f.icon.header.children = f.needle_list; }},
        {"element 1 has the unknown kind 9", [](FakeModule& f) { f.needle.header.kind = 9; }},
        {"element 1 lies outside the module",
         [](FakeModule& f) { f.needle_list[0] = reinterpret_cast<ElementHeader*>(&f.mouse[4]); }},
        {"element 2 (icon) declares 0 frames", [](FakeModule& f) { f.icon.frame_count = 0; }},
        {"element 2 (icon) declares 100000 frames", [](FakeModule& f) { f.icon.frame_count = 100000; }},
        {"element 1 (needle) has 0 nonlinearity entries", [](FakeModule& f) { f.needle.table_count = 0; }},
        {"element 1 (needle) has its nonlinearity table outside the module",
         [](FakeModule& f) { f.needle.table_count = 200; }},
        {"element 2 (icon) does not point back at its gauge header",
         [](FakeModule& f) { f.icon.header.gauge = nullptr; }},
        {"element 2 (icon) has a callback outside the module",
         [](FakeModule& f) { f.icon.callback = reinterpret_cast<IconCallback>(&f.name); }},
        {"element 2 (icon) has a failure list outside the module", [](FakeModule& f) {
             memset(static_cast<void*>(&f.mouse[4]), 0xFF, sizeof f.mouse[4]);
             f.icon.header.failures = reinterpret_cast<FailureEntry*>(&f.mouse[4]);
         }},
        {"a child list lies outside the module",
         [](FakeModule& f) { f.icon.header.children = reinterpret_cast<ElementHeader**>(&f + 1); }},
    };
    for (const Case& c : cases) {
        FakeModule f;
        c.spoil(f);
        EXPECT_EQ(f.read(), c.fault);
    }
}

TEST(LoaderRecords, MouseListFaults) {
    struct Case {
        const char* fault;
        void (*spoil)(FakeModule&);
    } cases[] = {
        {"mouse entry 2 has the unknown kind 9", [](FakeModule& f) { f.mouse[2].kind = 9; }},
        {"mouse entry 1 has a negative size", [](FakeModule& f) { f.mouse[1].box.height = -1; }},
        {"mouse entry 1 has a callback outside the module",
         [](FakeModule& f) { f.mouse[1].callback = reinterpret_cast<MouseCallback>(&f.name); }},
        {"mouse entry 5 lies outside the module", [](FakeModule& f) {
             for (MouseRect& r : f.mouse) r.kind = MOUSE_END_AREA;
         }},
    };
    for (const Case& c : cases) {
        FakeModule f;
        c.spoil(f);
        EXPECT_EQ(f.read(), c.fault);
    }
}

template <class T>
T* shifted(void* p, size_t bytes) {
    return reinterpret_cast<T*>(static_cast<unsigned char*>(p) + bytes);
}

template <class T>
Range range_of(const T& record) {
    return {reinterpret_cast<uintptr_t>(&record), reinterpret_cast<uintptr_t>(&record + 1)};
}

// Records are read through typed pointers, so each must sit at an address its
// type allows; a module that places one elsewhere is refused, not read.
TEST(LoaderRecords, MisalignedRecordsAreRefused) {
    struct Case {
        const char* fault;
        void (*spoil)(FakeModule&);
    } cases[] = {
        {"gauge header lies at a misaligned address",
         [](FakeModule& f) { f.linkage.gauges[0] = shifted<GaugeHeader>(&f.header, 2); }},
        {"element list lies at a misaligned address",
         [](FakeModule& f) { f.header.elements = shifted<ElementHeader*>(f.root, 4); }},
        {"a child list lies at a misaligned address",
         [](FakeModule& f) { f.background.header.children = shifted<ElementHeader*>(f.needle_list, 4); }},
        {"element 1 lies at a misaligned address",
         [](FakeModule& f) { f.needle_list[0] = shifted<ElementHeader>(&f.needle, 1); }},
        {"element 2 (icon) has a failure list at a misaligned address",
         [](FakeModule& f) { f.icon.header.failures = shifted<FailureEntry>(f.failures, 1); }},
        {"element 1 (needle) has its nonlinearity table at a misaligned address",
         [](FakeModule& f) { f.needle.table = shifted<NonlinearityEntry>(f.table, 2); }},
        {"mouse entry 0 lies at a misaligned address",
         [](FakeModule& f) { f.header.mouse_rect = shifted<MouseRect>(f.mouse, 2); }},
    };
    for (const Case& c : cases) {
        FakeModule f;
        c.spoil(f);
        EXPECT_EQ(f.read(), c.fault);
    }
}

// Records are packed to 4 bytes: an element 4 bytes past an 8-byte boundary
// is well placed, and its child list is followed like any other.
TEST(LoaderRecords, AnElementOnAFourByteBoundaryIsWalked) {
    FakeModule f;
    auto* icon = shifted<IconElement>(f.spare, 4);
    memcpy(static_cast<void*>(icon), &f.icon, sizeof f.icon);
    icon->header.children = f.text_list;
    f.icon_list[0] = &icon->header;
    GaugeLayout layout;
    ASSERT_EQ(f.read(&layout), "");
    EXPECT_EQ(layout.elements, (std::vector<ElementHeader*>{&f.background.header, &f.needle.header,
                                                             &icon->header, &f.text.header}));
}

// The host writes into ImportTable and text elements, and into nothing else.
TEST(LoaderRecords, RecordsTheHostWritesIntoMustBeWritable) {
    FakeModule f;
    f.icon.header.children = f.text_list;
    EXPECT_EQ(f.read(nullptr, {range_of(f.imports)}), "ImportTable lies in read-only memory");
    EXPECT_EQ(f.read(nullptr, {range_of(f.text)}), "element 3 (text) lies in read-only memory");
    // Constant names, tables, failure lists and every other record may be read-only.
    EXPECT_EQ(f.read(nullptr, {range_of(f.linkage), range_of(f.header), range_of(f.name),
                               range_of(f.needle), range_of(f.table), range_of(f.failures),
                               range_of(f.mouse)}),
              "");
}


}  // namespace
}  // namespace kestrel::test
