// kestrel: the development host's command line.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "host/panel/panel_check.h"
#include "host/scenario/scenario.h"
#include "host/util.h"
#if defined(KESTREL_RENDER)
#include "host/commands/commands.h"
#endif
#if defined(KESTREL_SERVE)
#include "viewer/server.h"
#endif

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

using namespace kestrel;

#if defined(KESTREL_RENDER) && !defined(_WIN32)
// Caches that fontconfig and cairo keep for the life of the process, filled
// as the renderer meets new fonts and glyphs: not leaks. Without this a
// sanitized build of kestrel reports them at exit and fails a clean render.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libcairo.so\nleak:libpixman-1.so\n";
}
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

static const char USAGE[] =
    "usage: kestrel COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  run SCENARIO          run a scenario and print its transcript\n"
    "  info MODULE...        load modules and list their elements and mouse areas\n"
    "  sim                   list the key events the simulator stand-in answers, and\n"
    "                        its models (switched on in scenarios with \"model NAME on\")\n"
    "  check PANEL.cfg       check a panel before flying: modules missing from the Gauges\n"
    "                        folder, shared variables without their owner, gauge names,\n"
    "                        places and numbering; exit code 1 when any is an error\n"
#if defined(KESTREL_RENDER)
    "%s"
#endif
#if defined(KESTREL_SERVE)
    "%s"
#endif
    "  help                  this text\n"
    "\n"
    "options:\n"
    "  --gauges DIR          where module names are looked up as DIR/NAME.gau\n"
    "                        (default: the Gauges folder beside kestrel)\n"
    "  --artwork DIR         where a module's bitmaps are, as DIR/NAME/<ID>.bmp\n"
    "                        (default: the Artwork folder beside kestrel)\n"
    "  --no-sound-library    run as if GaugeSound were not installed\n";

static void usage(FILE* f) {
#if defined(KESTREL_SERVE)
    fprintf(f, USAGE, RENDER_USAGE, SERVE_USAGE);
#elif defined(KESTREL_RENDER)
    fprintf(f, USAGE, RENDER_USAGE);
#else
    fputs(USAGE, f);
#endif
}

struct Options {
    std::string command;
    std::vector<std::string> args;
    HostOptions host;
    std::string artwork_dir;
};

// Commands that read options of their own after their name.
static bool own_options(const std::string& command) {
    return command == "render" || command == "demo" || command == "serve";
}

static bool parse_options(int argc, char** argv, Options* o) {
    o->host.gauge_dir = program_directory() + "/Gauges";
    o->host.library_path = program_directory();
    o->artwork_dir = program_directory() + "/Artwork";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--gauges" && i + 1 < argc) {
            o->host.gauge_dir = argv[++i];
        } else if (a == "--artwork" && i + 1 < argc) {
            o->artwork_dir = argv[++i];
        } else if (a == "--no-sound-library") {
            o->host.library_path.clear();
        } else if (a.size() > 1 && a[0] == '-' && own_options(o->command)) {
            o->args.push_back(a);
        } else if (a.size() > 1 && a[0] == '-') {
            fprintf(stderr, "kestrel: unknown option %s\n", a.c_str());
            return false;
        } else if (o->command.empty()) {
            o->command = a;
        } else {
            o->args.push_back(a);
        }
    }
    return true;
}

static int info(Host& host, const std::vector<std::string>& modules) {
    std::string error;
    const bool ok = host.load(modules, &error);
    if (!ok) fprintf(stderr, "%s\n", error.c_str());
    for (const auto& g : host.gauges()) {
        const GaugeHeader* h = g->layout.header;
        printf("%s: gauge \"%s\", %zu elements, %zu mouse entries\n", g->name.c_str(), h->name,
               g->size(), g->layout.mouse.size());
        for (size_t i = 0; i < g->size(); ++i) {
            const ElementHeader* e = g->element(i);
            printf("  [%zu] %-6s resource %s at (%d, %d)\n", i, kind_name(e->kind),
                   hex(e->resource_id).c_str(), e->position.x, e->position.y);
        }
        for (const MouseRect* r : g->layout.mouse) {
            if (r->kind == MOUSE_CHILD)
                printf("  area (%d, %d, %d, %d) cursor %d flags %s\n", r->box.x, r->box.y,
                       r->box.width, r->box.height, r->cursor, hex(r->flags).c_str());
            else if (r->kind == MOUSE_TOOLTIP)
                printf("  tooltip \"%s\"\n", r->tooltip ? r->tooltip : "");
        }
    }
    return ok ? 0 : 1;
}

static int run_command(int argc, char** argv) {
    Options o;
    if (!parse_options(argc, argv, &o)) return 2;
    if (o.command.empty() || o.command == "help") {
        usage(o.command.empty() ? stderr : stdout);
        return o.command.empty() ? 2 : 0;
    }
    if (o.command == "run") {
        if (o.args.size() != 1) {
            fputs("usage: kestrel run SCENARIO\n", stderr);
            return 2;
        }
        Host host(o.host);
        return run_scenario_file(host, o.args[0], stdout, stderr);
    }
    if (o.command == "info") {
        if (o.args.empty()) {
            fputs("usage: kestrel info MODULE...\n", stderr);
            return 2;
        }
        Host host(o.host);
        return info(host, o.args);
    }
    if (o.command == "sim") {
        for (const KeyEffect* e : key_effects()) printf("key %s  %s\n", hex(e->event_id).c_str(), e->meaning);
        for (const SimModel* m : sim_models()) printf("model %s  %s\n", m->name, m->meaning);
        return 0;
    }
    if (o.command == "check") return check_command(o.args, o.host, o.artwork_dir, stdout);
#if defined(KESTREL_RENDER)
    if (o.command == "render") return render_command(o.args, o.host, o.artwork_dir);
    if (o.command == "demo") return demo_command(o.args, o.host, o.artwork_dir);
#endif
#if defined(KESTREL_SERVE)
    if (o.command == "serve") return serve_command(o.args, o.host, o.artwork_dir);
#endif
    fprintf(stderr, "kestrel: unknown command %s\n\n", o.command.c_str());
    usage(stderr);
    return 2;
}

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Transcripts are compared byte for byte with those of other systems.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const int status = run_command(argc, argv);
#if defined(_WIN32)
    // Every gauge has been killed and every module released by now, and all
    // that is left is the process's own teardown. The system's sound drivers
    // detach there, and under Wine one that still had a stream open can
    // crash the exit after a complete transcript. Nothing else needs the
    // detach: write out what is buffered and leave with the status.
    fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
#endif
    return status;
}
