// Modules loaded again in place while the panel runs: an owner with its
// readers, a broken file refused without stopping the panel, files watched
// until a change has settled, and the live session reloading a rebuilt
// module (kestrel serve --watch).
#include <stdio.h>

#include "host/files.h"
#include "host/panel/load.h"
#include "host/panel/reload.h"
#include "tests/support.h"
#include "viewer/live.h"
#include "viewer/watch.h"

namespace kestrel::test {
namespace {

const char PANEL[] =
    "[Window00]\nsize_mm=800,400\n"
    "gauge00=broadcaster!KESTREL, 0, 0\n"
    "gauge01=overhead_switches!KESTREL, 20, 0\n"
    "gauge02=pfd!KESTREL, 400, 0\n"
    "gauge03=flap_lever!KESTREL, 700, 0\n";

// A Gauges folder of its own, with the panel's modules copied in.
class ModuleFolder : public ::testing::Test {
protected:
    std::string folder = ::testing::TempDir() + "kestrel-reload-" + std::to_string(getpid());
    std::string gauges = folder + "/Gauges";
    PanelConfig config;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(make_dirs(gauges, &error)) << error;
        for (const char* m : {"broadcaster", "overhead_switches", "pfd", "flap_lever"}) install(m, m);
        ASSERT_TRUE(write_file(folder + "/panel.cfg", PANEL, sizeof PANEL - 1));
        config = read_panel_config(folder + "/panel.cfg");
    }
    // A module file replaced as a build replaces it: written beside, then renamed over.
    void install(const std::string& name, const std::string& from) {
        std::string bytes;
        ASSERT_TRUE(read_whole_file(std::string(KESTREL_GAUGE_DIR) + "/" + from + ".gau", &bytes)) << from;
        replace(name, bytes);
    }
    void replace(const std::string& name, const std::string& bytes) {
        const std::string path = gauges + "/" + name + ".gau";
        ASSERT_TRUE(write_file(path + ".new", bytes.data(), bytes.size()));
        ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
    }
};

class Reload : public ModuleFolder {
protected:
    Host host{HostOptions{gauges, KESTREL_LIBRARY_DIR}};

    std::vector<std::string> loaded() {
        std::vector<std::string> names;
        for (const auto& g : host.gauges()) names.push_back(g->name);
        return names;
    }
};

TEST_F(Reload, AnOwnerComesBackWithItsReadersBoundAgainAndTheSimulatorKeepsItsValues) {
    EXPECT_TRUE(load_panel(host, config, gauges).empty());
    host.frame();
    host.sim.set(0x3D, 123);
    host.sim.set(0x16C, 1);

    const Reloaded r = reload_module(host, config, gauges, "broadcaster");
    // The readers of what it owns went and came back with it, in the panel's order; the others stayed.
    EXPECT_EQ(r.modules, (std::vector<std::string>{"broadcaster", "overhead_switches", "pfd", "flap_lever"}));
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(loaded(), (std::vector<std::string>{"broadcaster", "overhead_switches", "pfd", "flap_lever"}));
    EXPECT_NE(r.summary("broadcaster").find("reloaded broadcaster, and its readers overhead_switches pfd flap_lever in "),
              std::string::npos)
        << r.summary("broadcaster");
    host.frame();
    EXPECT_EQ(host.sim.get(0x3D), 123);
    EXPECT_EQ(host.sim.get(0x16C), 1);
    const auto binders = host.registry.binders("power");
    EXPECT_EQ(binders.size(), 2u) << "overhead_switches and flap_lever bind power again";
    for (const Gauge* g : binders) EXPECT_NE(g, nullptr);
    EXPECT_EQ(host.registry.binders("display").size(), 1u);

    // A reader alone: the owner stays as it was.
    const Gauge* owner = host.find("broadcaster");
    const Reloaded alone = reload_module(host, config, gauges, "pfd");
    EXPECT_EQ(alone.modules, std::vector<std::string>{"pfd"});
    EXPECT_EQ(host.find("broadcaster"), owner);
    EXPECT_EQ(loaded(), (std::vector<std::string>{"broadcaster", "overhead_switches", "pfd", "flap_lever"}));
}

TEST_F(Reload, ABrokenModuleIsRefusedInOneLineAndThePanelRunsOn) {
    EXPECT_TRUE(load_panel(host, config, gauges).empty());
    replace("pfd", "half a module, still being written");
    const Reloaded broken = reload_module(host, config, gauges, "pfd");
    EXPECT_TRUE(broken.modules.empty());
    ASSERT_EQ(broken.problems.size(), 1u);
    EXPECT_NE(broken.problems[0].find("panel.cfg:5: pfd: "), std::string::npos) << broken.problems[0];
    EXPECT_NE(broken.problems[0].find("drawn as a placeholder"), std::string::npos);
    EXPECT_EQ(broken.summary("pfd").rfind("could not reload pfd", 0), 0u);
    EXPECT_EQ(loaded(), (std::vector<std::string>{"broadcaster", "overhead_switches", "flap_lever"}));
    host.frames(3);

    // Built again: back in its place, with every gauge that may bind what it owns.
    install("pfd", "pfd");
    const Reloaded fixed = reload_module(host, config, gauges, "pfd");
    EXPECT_TRUE(fixed.problems.empty());
    EXPECT_EQ(loaded(), (std::vector<std::string>{"broadcaster", "overhead_switches", "pfd", "flap_lever"}));
    EXPECT_EQ(host.registry.binders("display").size(), 1u);
}

TEST(FileWatch, ToldOnceAChangeHasSettledNotWhileTheFileIsWritten) {
    const std::string path = ::testing::TempDir() + "kestrel-watch-" + std::to_string(getpid()) + ".gau";
    const std::string missing = path + ".none";
    ASSERT_TRUE(write_file(path, "one", 3));
    FileWatch watch;
    watch.watch({path, missing});
    EXPECT_TRUE(watch.changed(1).empty()) << "nothing changed";
    ASSERT_TRUE(write_file(path, "two!", 4));
    EXPECT_TRUE(watch.changed(0.1).empty()) << "not looked at before a quarter second";
    EXPECT_TRUE(watch.changed(0.2).empty()) << "seen changing";
    ASSERT_TRUE(write_file(path, "three", 5));
    EXPECT_TRUE(watch.changed(0.3).empty()) << "still being written";
    EXPECT_TRUE(watch.changed(0.3).empty());
    EXPECT_EQ(watch.changed(0.3), std::vector<std::string>{path});
    EXPECT_TRUE(watch.changed(1).empty()) << "told once";
    ASSERT_TRUE(write_file(path, "", 0));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(watch.changed(0.5).empty()) << "an empty file is not a module";
    remove(path.c_str());
}

TEST_F(ModuleFolder, TheLiveSessionReloadsARebuiltModuleAndSaysSo) {
    LiveOptions o;
    o.host = HostOptions{gauges, KESTREL_LIBRARY_DIR};
    o.artwork_dir = KESTREL_ARTWORK_DIR;
    o.panel = folder + "/panel.cfg";
    o.watch = true;
    LiveSession session(o);
    EXPECT_EQ(session.handle("pause"), "");
    session.update();
    EXPECT_NE(session.snapshot().back().data.find("\"watch\":true"), std::string::npos);
    session.host().sim.set(0x148, 8192);
    const size_t elements = session.host().find("flap_lever")->size();
    install("flap_lever", "spoiler_lever");  // rebuilt as something else
    // The log's lines of the next two seconds, in which the change settles.
    auto settle = [&] {
        std::string log;
        for (int i = 0; i < 6; ++i) {
            session.advance(0.3);
            for (const Outgoing& out : session.update())
                if (!out.binary) log += out.data;
        }
        return log;
    };
    std::string log = settle();
    EXPECT_NE(log.find("reloaded flap_lever in "), std::string::npos) << log;
    EXPECT_EQ(session.host().sim.get(0x148), 8192);
    ASSERT_NE(session.host().find("flap_lever"), nullptr);
    EXPECT_NE(session.host().find("flap_lever")->size(), elements) << "the new module's gauge";

    replace("flap_lever", "not a module");
    log = settle();
    EXPECT_NE(log.find("could not reload flap_lever"), std::string::npos) << log;
    EXPECT_EQ(session.host().find("flap_lever"), nullptr);
    EXPECT_NE(session.host().find("pfd"), nullptr) << "the panel runs on";

    // The panel file saved without the flap lever: read again, the variables kept.
    const std::string panel = std::string(PANEL).substr(0, std::string(PANEL).find("gauge03"));
    ASSERT_TRUE(write_file(folder + "/panel.cfg", panel.data(), panel.size()));
    log = settle();
    EXPECT_NE(log.find("read panel.cfg again and reloaded its modules in "), std::string::npos) << log;
    EXPECT_EQ(session.config().modules(), (std::vector<std::string>{"broadcaster", "overhead_switches", "pfd"}));
    EXPECT_EQ(session.host().gauges().size(), 3u);
    EXPECT_EQ(session.host().sim.get(0x148), 8192);
}

}  // namespace
}  // namespace kestrel::test
