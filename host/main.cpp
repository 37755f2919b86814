// kestrel: the development host's command line (CLI11).
//
// Exit codes, for every command: 0 it did what was asked; 1 it ran and found
// problems (failed expectations or faults, errors of `check`); 2 it could not
// do what was asked (a wrong command line, an input that is missing,
// unreadable or of the wrong kind, a port that cannot be had). Whatever is
// refused is refused before anything runs, in one line that names it.
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "host/commands/commands.h"
#include "host/files.h"
#include "host/host.h"
#include "host/panel/load.h"
#include "host/platform.h"
#include "host/util.h"
#if defined(KESTREL_RENDER)
#include "host/commands/pictures.h"
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

#ifndef KESTREL_VERSION
#define KESTREL_VERSION "0"
#endif

namespace {

const char EXIT_CODES[] =
    "Exit codes, for every command:\n"
    "  0  it did what was asked\n"
    "  1  it ran and found problems: failed expectations or faults, errors of check\n"
    "  2  it could not do what was asked: a wrong command line, an input that is\n"
    "     missing, unreadable or of the wrong kind, a port that cannot be had\n";

// Refuses with one line on stderr: exit code 2.
int refuse(const std::string& why) {
    fprintf(stderr, "kestrel: %s\n", why.c_str());
    return 2;
}

// A number from `low` to `high`, said in the message as the user wrote it.
CLI::Validator number_from(double low, double high) {
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            double v;
            if (parse_double(text, &v) && v >= low && v <= high) return "";
            return "takes a number from " + format("%g", low) + " to " + format("%g", high) + ", not " + text;
        },
        "");
}

#if defined(KESTREL_RENDER)
// --light day|dusk|night, --scale X: for render, demo and serve.
void light_option(CLI::App* app, rules::Lighting* light) {
    app->add_option_function<std::string>(
           "--light", [light](const std::string& name) { *light = *rules::lighting_named(name.c_str()); },
           "the panel's lighting (default dusk)")
        ->check(CLI::IsMember({"day", "dusk", "night"}).description(""))
        ->type_name("day|dusk|night");
}

void picture_options(CLI::App* app, PictureOptions* o) {
    app->add_option("--out", o->out, "the folder the pictures go to")->type_name("DIR");
    app->add_option("--scale", o->scale,
                    "the pictures' scale, 0.05 to 8 (default 1); a window larger than 32 Mpixels\n"
                    "at that scale is drawn smaller, and a note says so")
        ->check(number_from(0.05, 8))
        ->type_name("X");
    light_option(app, &o->light);
}
#endif

int kestrel_main(const std::vector<std::string>& arguments) {
    CLI::App app("Kestrel's development host: runs the gauge modules without the simulator.", "kestrel");
    app.set_version_flag("--version", "kestrel " KESTREL_VERSION);
    app.footer(EXIT_CODES);
    app.fallthrough();  // the global options after the command's name too

    HostOptions host;
    host.gauge_dir = program_directory() + "/Gauges";
    host.library_path = program_directory();
    std::string artwork_dir = program_directory() + "/Artwork";
    app.add_option("--gauges", host.gauge_dir, "where module names are looked up as DIR/NAME.gau\n"
                                               "(default: the Gauges folder beside kestrel)")
        ->type_name("DIR");
    app.add_option("--artwork", artwork_dir, "where a module's bitmaps are, as DIR/NAME/<ID>.bmp\n"
                                             "(default: the Artwork folder beside kestrel)")
        ->type_name("DIR");
    app.add_flag_callback("--no-sound-library", [&] { host.library_path.clear(); },
                          "run as if GaugeSound were not installed");

    std::string scenario;
    CLI::App* run = app.add_subcommand("run", "run a scenario and print its transcript");
    run->add_option("SCENARIO", scenario, "the scenario file (.kes)")->required();

    RecordFlightOptions flight;
    CLI::App* record_flight =
        app.add_subcommand("record-flight", "run a scenario and write simulator variables, frame by frame, as a\n"
                                            "table that \"replay FILE\" plays back (docs/scenarios.md)");
    record_flight->add_option("SCENARIO", flight.scenario, "the scenario file (.kes)")->required();
    record_flight->add_option("--out", flight.out, "the table to write (.csv)")->required()->type_name("FILE");
    record_flight->add_option("--vars", flight.vars, "the variables: ids (0x3D) or catalogue names, by commas")
        ->required()
        ->delimiter(',')
        ->type_name("LIST");
    record_flight->add_option("--every", flight.every, "a row every N frames, and the last (default 1)")
        ->check(number_from(1, 1e9))
        ->type_name("N");

    std::vector<std::string> modules;
    CLI::App* info = app.add_subcommand("info", "load modules and list their elements and mouse entries");
    info->add_option("MODULE", modules, "module names (found in the gauges folder) or .gau files")->required();
    bool records = false;
    info->add_flag("--records", records, "every field of the gauge's records: sources, callbacks, fonts, tables");

    CLI::App* sim = app.add_subcommand("sim", "list the key events the simulator stand-in answers, and its models\n"
                                              "(switched on in scenarios with \"model NAME on\")");

    std::string panel;
    CLI::App* check = app.add_subcommand("check", "check a panel before flying: modules missing from the Gauges\n"
                                                  "folder, shared variables without their owner, gauge names,\n"
                                                  "places and numbering; exit code 1 when any is an error");
    check->add_option("PANEL", panel, "the panel configuration (.cfg)")->required();

#if defined(KESTREL_RENDER)
    PictureOptions render_options, demo_options;
    render_options.out = ".";
    demo_options.out = "out/demo";
    CLI::App* render = app.add_subcommand("render", "draw a panel configuration (panel.cfg) or one module as PNG images");
    render->add_option("TARGET", render_options.target, "a panel configuration (.cfg), a module's name or a .gau file")
        ->required();
    render->add_option("--scenario", render_options.scenario, "run this scenario first")->type_name("S");
    render->add_option("--at", render_options.at, "pictures at these frames or times: 1,36,2.5s,end\n"
                                                  "(default end; needs --scenario)")
        ->delimiter(',')
        ->type_name("TIMES");
    render->add_option("--open", render_options.open,
                       "pop-up windows drawn open over the main window,\nby title or ident: Overhead,THROTTLE_PANEL")
        ->delimiter(',')
        ->type_name("WINDOWS");
    picture_options(render, &render_options);

    CLI::App* demo = app.add_subcommand("demo", "fly the demo over the development panel and write its frames, a contact\n"
                                                "sheet of every gauge and a page that plays them");
    demo->add_option("--panel", demo_options.panel, "the panel configuration (default: the development panel)")
        ->type_name("CFG");
    demo->add_option("--scenario", demo_options.scenario, "the flight (default: the demo flight)")->type_name("S");
    picture_options(demo, &demo_options);
    demo->get_option("--out")->description("the folder the pictures go to (default out/demo)");
#endif

#if defined(KESTREL_SERVE)
    ServeOptions serve_options;
    CLI::App* serve = app.add_subcommand("serve", "fly a panel configuration live in a web browser");
    serve->add_option("PANEL", serve_options.live.panel, "the panel configuration (default: the development panel)");
    serve->add_option("--port", serve_options.port, "the port, 0 to 65535 (default 8318; 0 any free port)")
        ->check(number_from(0, 65535))
        ->type_name("N");
    serve->add_option("--listen", serve_options.listen,
                      "the address listened on: an IPv4 or IPv6 address of this machine, or\n"
                      "localhost (default 127.0.0.1, this machine only; 0.0.0.0 every network)")
        ->type_name("ADDR");
    serve->add_option("--scenario", serve_options.scenario, "play this scenario from the start")->type_name("S");
    light_option(serve, &serve_options.live.light);
    serve->add_option_function<std::string>(
             "--models", [&](const std::string& v) { serve_options.live.models = v == "on"; },
             "the simulator's own motion at the start: on (default) or off")
        ->check(CLI::IsMember({"on", "off"}).description(""))
        ->type_name("on|off");
    serve->add_flag("--watch", serve_options.live.watch,
                    "load a module again in place when its file in the Gauges folder is\n"
                    "replaced (a rebuild), and the panel when its file or a bitmap changes");
    serve->add_option("--record-dir", serve_options.live.record_dir,
                      "where \"record stop NAME\" saves the recording as NAME.kes")
        ->type_name("DIR");
#endif

    std::string help_topic;
    CLI::App* help = app.add_subcommand("help", "this text, or a command's");
    help->add_option("COMMAND", help_topic, "the command");

    app.require_subcommand(0, 1);
    // The words in CLI11's order: the last first.
    std::vector<std::string> words(arguments.rbegin(), arguments.rend());
    if (!words.empty()) words.pop_back();  // the program's name
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ExtrasError& e) {
        // The first word that is no option nor an option's value: no command.
        for (size_t i = 1; app.get_subcommands().empty() && i < arguments.size(); ++i) {
            if (arguments[i] == "--gauges" || arguments[i] == "--artwork") ++i;
            else if (arguments[i].compare(0, 1, "-") != 0)
                return refuse(arguments[i] + ": no such command (kestrel --help)");
        }
        return refuse(std::string(e.what()) + " (kestrel --help)");
    } catch (const CLI::ParseError& e) {
        std::string why = e.what();
        std::replace(why.begin(), why.end(), '\n', ' ');
        return refuse(why + " (kestrel --help)");
    }

    if (app.got_subcommand(help) || app.get_subcommands().empty()) {
        const bool asked = app.got_subcommand(help);
        CLI::App* topic = &app;
        if (!help_topic.empty()) {
            topic = nullptr;
            for (CLI::App* s : app.get_subcommands({}))
                if (s->get_name() == help_topic) topic = s;
            if (!topic) return refuse(help_topic + ": no such command (kestrel --help)");
        }
        const std::string text = app.get_formatter()->make_help(
            topic, topic == &app ? "kestrel" : "kestrel " + help_topic, CLI::AppFormatMode::Normal);
        fputs(text.c_str(), asked ? stdout : stderr);
        return asked ? 0 : 2;
    }

    if (app.got_subcommand(run)) {
        if (std::string why = text_file_problem(scenario, "a scenario (.kes)"); !why.empty()) return refuse(why);
        Host h(host);
        return run_command(h, scenario, stdout, stderr);
    }
    if (app.got_subcommand(record_flight)) return record_flight_command(flight, host, stdout, stderr);
    if (app.got_subcommand(info)) {
        for (const std::string& m : modules)
            if (std::string why = module_problem(m, host.gauge_dir); !why.empty()) return refuse(why);
        Host h(host);
        return info_command(h, modules, records, stdout);
    }
    if (app.got_subcommand(sim)) return sim_command(stdout);
    if (app.got_subcommand(check)) {
        if (std::string why = panel_file_problem(panel); !why.empty()) return refuse(why);
        return check_command(panel, host, artwork_dir, stdout);
    }
#if defined(KESTREL_RENDER)
    if (app.got_subcommand(render)) {
        if (std::string why = target_problem(render_options.target, host.gauge_dir); !why.empty()) return refuse(why);
        if (!render_options.scenario.empty())
            if (std::string why = text_file_problem(render_options.scenario, "a scenario (.kes)"); !why.empty())
                return refuse(why);
        return render_command(render_options, host, artwork_dir);
    }
    if (app.got_subcommand(demo)) {
        if (!demo_options.panel.empty())
            if (std::string why = panel_file_problem(demo_options.panel); !why.empty()) return refuse(why);
        if (!demo_options.scenario.empty())
            if (std::string why = text_file_problem(demo_options.scenario, "a scenario (.kes)"); !why.empty())
                return refuse(why);
        return demo_command(demo_options, host, artwork_dir);
    }
#endif
#if defined(KESTREL_SERVE)
    if (app.got_subcommand(serve)) {
        if (!serve_options.live.record_dir.empty() && !is_dir(serve_options.live.record_dir))
            return refuse(serve_options.live.record_dir + ": no such folder (--record-dir)");
        serve_options.live.host = host;
        serve_options.live.artwork_dir = artwork_dir;
        return serve_command(serve_options);
    }
#endif
    return refuse("no command (kestrel --help)");
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Transcripts are compared byte for byte with those of other systems.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const int status = kestrel_main(program_arguments(argc, argv));
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
