// Shared panel variables across modules: the broadcaster owns nine, readers
// bind them by name, and the first frame brings them all to 0.
#include <algorithm>

#include "tests/support.h"

namespace kestrel::test {
namespace {

const std::vector<std::string> NINE = {"adfvor", "apu",   "nosmoking", "seatbelts", "display",
                                       "eicas",  "rose",  "power",     "sfd"};

class Registry : public HostTest {};

TEST_F(Registry, TheBroadcasterRegistersItsNineInOrder) {
    load({"broadcaster"});
    std::vector<std::string> names;
    for (const Event& e : take(Event::Kind::Register)) {
        EXPECT_EQ(e.number, VAR_TYPE_UINT32);
        EXPECT_EQ(e.gauge, "broadcaster");
        names.push_back(e.name);
    }
    EXPECT_EQ(names, NINE);
}

// Whichever gauge is installed and drawn first, every shared variable reads 0
// after the first frame.
TEST_F(Registry, AllSharedVariablesReadZeroAfterTheFirstFrameInAnyOrder) {
    std::vector<std::string> modules = {"broadcaster", "flap_lever", test_module("probe")};
    std::sort(modules.begin(), modules.end());
    do {
        std::string error;
        ASSERT_TRUE(host.load(modules, &error)) << error;
        for (const std::string& name : NINE) host.registry.set(name, 7);
        host.frame();
        for (const std::string& name : NINE) EXPECT_EQ(host.registry.value(name), 0) << name;
        host.unload_all();
    } while (std::next_permutation(modules.begin(), modules.end()));
}

TEST_F(Registry, RemovingTheBroadcasterWithdrawsItsNamesAndUnbindsReaders) {
    Gauge& probe = load({"broadcaster", test_module("probe")});
    host.frame();
    host.unload("broadcaster");
    std::vector<std::string> withdrawn;
    for (const Event& e : take(Event::Kind::Withdraw)) {
        EXPECT_EQ(e.value, 1);
        withdrawn.push_back(e.name);
    }
    EXPECT_EQ(withdrawn, NINE);
    EXPECT_TRUE(host.registry.entries().empty());
    // The reader's records no longer point into the unloaded module.
    host.click(probe, 5, 5);  // toggles "power" through its record
    host.frame();
    EXPECT_TRUE(take(Event::Kind::SharedChange).empty());
    EXPECT_FALSE(bright(state(probe, 1)));
}

TEST_F(Registry, AnUnboundNameReadsZeroAndDropsWrites) {
    Gauge& probe = load({test_module("probe")});  // no broadcaster on the panel
    std::vector<Event> binds = take(Event::Kind::Bind);
    ASSERT_EQ(binds.size(), 2u);
    EXPECT_EQ(binds[0].name, "power");
    EXPECT_EQ(binds[1].name, "apu");
    EXPECT_EQ(binds[0].value, 0);
    host.frame();
    host.click(probe, 5, 5);
    host.click(probe, 45, 5);
    host.frame();
    EXPECT_TRUE(take(Event::Kind::SharedChange).empty());
    EXPECT_FALSE(bright(state(probe, 1)));
    EXPECT_EQ(state(probe, 9).value[0], 1);  // its own state still toggles
}

TEST_F(Registry, AReaderInitialisedBeforeTheOwnerStaysUnbound) {
    Gauge& probe = load({test_module("probe")});
    load({"broadcaster"});
    host.frame();
    host.registry.set("power", 1);
    host.frame();
    EXPECT_FALSE(bright(state(probe, 1)));
}

TEST_F(Registry, AWriteThroughABindingIsSeenByTheOwnerAndReported) {
    Gauge& probe = load({"broadcaster", test_module("probe")});
    host.frame();
    take(Event::Kind::SharedChange);
    host.click(probe, 5, 5);
    std::vector<Event> changes = take(Event::Kind::SharedChange);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].name, "power");
    EXPECT_EQ(changes[0].number, 0);
    EXPECT_EQ(changes[0].value, 1);
    EXPECT_EQ(changes[0].gauge, "probe");
    EXPECT_EQ(host.registry.value("power"), 1);
}

TEST_F(Registry, ASecondRegistrationOfANameIsRefused) {
    load({"broadcaster"});
    int32_t other = 5;
    EXPECT_FALSE(host.registry.add(nullptr, &other, VAR_TYPE_UINT32, "power"));
    EXPECT_EQ(host.registry.value("power"), 0);
}

}  // namespace
}  // namespace kestrel::test
