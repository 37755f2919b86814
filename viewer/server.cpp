#include "viewer/server.h"

#include <arpa/inet.h>
#include <civetweb.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <nlohmann/json.hpp>

#include "host/files.h"
#include "host/panel/load.h"
#include "host/util.h"
#include "host/web_files.h"

namespace kestrel {

namespace {

using Clock = std::chrono::steady_clock;

// What a browser sent, for the session's thread.
struct Inbound {
    int client;
    std::string text;
    std::string refused;  // not for the session: why it was refused
};

// One browser: what waits to go out to it, and the thread that sends it.
struct Client {
    int id = 0;
    mg_connection* conn = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Outgoing> out;
    size_t backlog = 0;
    bool closed = false;
    bool fresh = true;  // needs the whole panel: just come, or fell behind
    size_t queued_in = 0;  // its messages waiting for the session
    std::thread sender;

    void send_loop() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return closed || !out.empty(); });
            if (closed) return;
            Outgoing o = std::move(out.front());
            out.pop_front();
            backlog -= o.data.size();
            lock.unlock();
            const int written = mg_websocket_write(conn, o.binary ? MG_WEBSOCKET_OPCODE_BINARY : MG_WEBSOCKET_OPCODE_TEXT,
                                                   o.data.data(), o.data.size());
            lock.lock();
            if (written <= 0) {
                closed = true;  // the connection is gone; civetweb closes it
                return;
            }
        }
    }
};

std::string error_json(const std::string& why) { return json_message({{"t", "error"}, {"message", why}}); }

// A file name that stays in its folder: letters, digits, '_', '-' and
// inner dots only; with `any_letters`, the bytes of letters beyond ASCII too
// (a scenario's name is one word of the page's messages, in UTF-8).
bool plain_name(const std::string& name, bool any_letters = false) {
    if (name.empty() || name.size() > 64 || name[0] == '.') return false;
    for (unsigned char c : name)
        if (!isalnum(c) && c != '_' && c != '-' && c != '.' && !(any_letters && c >= 0x80)) return false;
    return name.find("..") == std::string::npos;
}

}  // namespace

struct Server::State {
    mg_context* ctx = nullptr;
    std::string sound_dir;  // its real path, or ""
    std::mutex mutex;       // guards what follows
    std::condition_variable wake;
    std::deque<Inbound> inbound;
    std::vector<std::shared_ptr<Client>> clients;
    int next_id = 1;

    std::shared_ptr<Client> find(const mg_connection* conn) {
        for (auto& c : clients)
            if (c->conn == conn) return c;
        return nullptr;
    }

    static void send(Client& c, Outgoing o) {
        std::lock_guard<std::mutex> lock(c.mutex);
        if (c.closed) return;
        if (c.backlog > 0 && c.backlog + o.data.size() > MAX_BACKLOG) {
            // Fallen behind: drop what waits, and send the whole panel when
            // the session next makes one. (A message larger than the limit
            // alone still goes out when nothing waits: the whole panel of a
            // large one.)
            c.out.clear();
            c.backlog = 0;
            c.fresh = true;
            return;
        }
        c.backlog += o.data.size();
        c.out.push_back(std::move(o));
        c.wake.notify_one();
    }

    void close(const std::shared_ptr<Client>& c) {
        {
            std::lock_guard<std::mutex> lock(c->mutex);
            c->closed = true;
            c->wake.notify_one();
        }
        if (c->sender.joinable()) c->sender.join();
    }

    // --- civetweb's threads -------------------------------------------------

    static int on_request(mg_connection* conn, void* data) {
        State& s = *static_cast<State*>(data);
        const mg_request_info* ri = mg_get_request_info(conn);
        const std::string method = ri->request_method ? ri->request_method : "";
        const std::string uri = ri->local_uri ? ri->local_uri : "";
        if (method != "GET" && method != "HEAD") {
            mg_send_http_error(conn, 405, "%s", "only GET and HEAD are served here\n");
            return 405;
        }
        const bool head = method == "HEAD";
        if (const WebFile* f = find_web_file(uri == "/" ? "/index.html" : uri)) {
            mg_send_http_ok(conn, f->type, static_cast<long long>(f->size));
            if (!head) mg_write(conn, f->data, f->size);
            return 200;
        }
        const std::string sound = "/sound/";
        if (!s.sound_dir.empty() && uri.compare(0, sound.size(), sound) == 0) {
            const std::string name = uri.substr(sound.size());
            const bool wave = name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".wav") == 0;
            std::string bytes;
            if (plain_name(name) && wave) {
                const std::string real = real_path(s.sound_dir + "/" + name);
                // Within the sound folder, links and all.
                if (!real.empty() && real.rfind(s.sound_dir + "/", 0) == 0) {
                    if (FILE* f = open_file(real, "rb")) {
                        char chunk[8192];
                        size_t n;
                        while ((n = fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() < (64u << 20))
                            bytes.append(chunk, n);
                        fclose(f);
                        mg_send_http_ok(conn, "audio/wav", static_cast<long long>(bytes.size()));
                        if (!head) mg_write(conn, bytes.data(), bytes.size());
                        return 200;
                    }
                }
            }
        }
        mg_send_http_error(conn, 404, "%s", "not found\n");
        return 404;
    }

    static int on_connect(const mg_connection* conn, void* data) {
        State& s = *static_cast<State*>(data);
        // A page of another site must not drive the panel from the user's
        // browser: a browser's Origin must name the host it asked for.
        const char* origin = mg_get_header(conn, "Origin");
        const char* host = mg_get_header(conn, "Host");
        if (origin && (!host || std::string(origin) != std::string("http://") + host)) return 1;
        std::lock_guard<std::mutex> lock(s.mutex);
        return static_cast<int>(s.clients.size()) >= MAX_CLIENTS ? 1 : 0;
    }

    static void on_ready(mg_connection* conn, void* data) {
        State& s = *static_cast<State*>(data);
        auto c = std::make_shared<Client>();
        c->conn = conn;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            c->id = s.next_id++;
            s.clients.push_back(c);
        }
        c->sender = std::thread([c] { c->send_loop(); });
        s.wake.notify_one();
    }

    static int on_data(mg_connection* conn, int bits, char* bytes, size_t size, void* data) {
        State& s = *static_cast<State*>(data);
        const int opcode = bits & 0xF;
        if (opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE) return 0;
        if (opcode == MG_WEBSOCKET_OPCODE_PING || opcode == MG_WEBSOCKET_OPCODE_PONG) return 1;
        std::lock_guard<std::mutex> lock(s.mutex);
        std::shared_ptr<Client> c = s.find(conn);
        if (!c) return 0;
        Inbound in{c->id, "", ""};
        if (opcode != MG_WEBSOCKET_OPCODE_TEXT || !(bits & 0x80))
            in.refused = "messages are whole text frames";
        else if (c->queued_in >= 64)
            in.refused = "too many messages at once; this one was dropped";
        else
            in.text.assign(bytes, size);
        if (in.refused.empty()) ++c->queued_in;
        s.inbound.push_back(std::move(in));
        s.wake.notify_one();
        return 1;
    }

    static void on_close(const mg_connection* conn, void* data) {
        State& s = *static_cast<State*>(data);
        std::shared_ptr<Client> c;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            c = s.find(conn);
            if (!c) return;
            std::erase(s.clients, c);
        }
        s.close(c);
    }

    static int on_log(const mg_connection*, const char*) {
        return 1;  // a bad request is answered, not printed
    }
};

Server::Server() : state_(std::make_unique<State>()) {}

Server::~Server() { stop(); }

bool Server::start(const std::string& address, int port, const std::string& sound_dir, std::string* error) {
    mg_init_library(0);
    state_->sound_dir = sound_dir.empty() ? "" : real_path(sound_dir);
    const std::string ports = address + ":" + std::to_string(port);
    const char* options[] = {
        "listening_ports", ports.c_str(),
        "num_threads", "12",  // a thread for each browser's WebSocket, and some for files
        "request_timeout_ms", "10000",
        "websocket_timeout_ms", "3600000",
        "enable_websocket_ping_pong", "yes",
        "additional_header", "X-Content-Type-Options: nosniff",
        nullptr,
    };
    mg_callbacks callbacks{};
    callbacks.log_message = State::on_log;
    mg_init_data init{&callbacks, state_.get(), options};
    // civetweb writes its reason into our buffer, cut to its size.
    std::string text(1024 + ports.size(), '\0');
    unsigned code = 0;
    mg_error_data err{&code, text.data(), text.size()};
    state_->ctx = mg_start2(&init, &err);
    if (!state_->ctx) {
        text.resize(strnlen(text.c_str(), text.size()));
        *error = "cannot listen on " + ports + ": " + (text.empty() ? "unknown error" : text);
        return false;
    }
    mg_set_request_handler(state_->ctx, "/", State::on_request, state_.get());
    mg_set_websocket_handler(state_->ctx, "/live", State::on_connect, State::on_ready, State::on_data, State::on_close,
                             state_.get());
    return true;
}

int Server::port() const {
    mg_server_port ports[4];
    const int n = state_->ctx ? mg_get_server_ports(state_->ctx, 4, ports) : 0;
    return n > 0 ? ports[0].port : 0;
}

void Server::stop() {
    if (!state_->ctx) return;
    mg_stop(state_->ctx);  // the close handlers stop every sender
    state_->ctx = nullptr;
    std::vector<std::shared_ptr<Client>> left;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        left.swap(state_->clients);
    }
    for (auto& c : left) state_->close(c);
    mg_exit_library();
}

void Server::run(LiveSession& session, const std::atomic<bool>& stop) {
    State& s = *state_;
    const auto period = std::chrono::microseconds(1000000 / TICKS_PER_SECOND);
    auto next = Clock::now() + period;
    auto last = Clock::now();
    while (!stop) {
        std::deque<Inbound> batch;
        {
            std::unique_lock<std::mutex> lock(s.mutex);
            s.wake.wait_until(lock, std::min(next, Clock::now() + std::chrono::milliseconds(100)),
                              [&] { return !s.inbound.empty() || stop; });
            batch.swap(s.inbound);
            for (const Inbound& in : batch)
                if (in.refused.empty())
                    for (auto& c : s.clients)
                        if (c->id == in.client && c->queued_in) --c->queued_in;
        }
        for (const Inbound& in : batch) {
            const std::string why = in.refused.empty() ? session.handle(in.text) : in.refused;
            if (why.empty()) continue;
            std::lock_guard<std::mutex> lock(s.mutex);
            for (auto& c : s.clients)
                if (c->id == in.client) State::send(*c, {false, error_json(why)});
        }
        const auto now = Clock::now();
        if (now < next) continue;
        session.advance(std::chrono::duration<double>(now - last).count());
        last = now;
        next += period;
        if (next < now) next = now + period;  // fell behind: no burst to catch up
        std::vector<Outgoing> out = session.update();
        std::vector<std::shared_ptr<Client>> clients;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            clients = s.clients;
        }
        std::vector<Outgoing> whole;
        for (auto& c : clients) {
            bool fresh;
            {
                std::lock_guard<std::mutex> lock(c->mutex);
                fresh = c->fresh;
                c->fresh = false;
            }
            if (fresh) {
                if (whole.empty()) whole = session.snapshot();
                for (const Outgoing& o : whole) State::send(*c, o);
            } else {
                for (const Outgoing& o : out) State::send(*c, o);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// kestrel serve

namespace {

std::atomic<bool> interrupted{false};

void on_signal(int) { interrupted = true; }

// The development panel: beside the program (an installed copy), else in the
// source tree it was built from.
std::string demo_panel() {
    const std::string beside = program_directory() + "/panels/development/panel.cfg";
    if (exists(beside)) return beside;
#ifdef KESTREL_SOURCE_DIR
    return std::string(KESTREL_SOURCE_DIR) + "/panels/development/panel.cfg";
#else
    return beside;
#endif
}

// The scenarios beside a panel configuration, by name.
std::vector<std::string> scenarios_beside(const std::string& panel) {
    const size_t slash = panel.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : panel.substr(0, slash);
    std::vector<std::string> out;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".kes") == 0 && plain_name(name, true))
                out.push_back(dir + "/" + name);
        }
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

std::string listen_address(const std::string& listen) {
    if (listen == "localhost") return "127.0.0.1";
    unsigned char bytes[16];
    if (inet_pton(AF_INET, listen.c_str(), bytes) == 1) return listen;
    if (inet_pton(AF_INET6, listen.c_str(), bytes) == 1) return "[" + listen + "]";
    return "";
}

int serve_command(const ServeOptions& options) {
    LiveOptions o = options.live;
    const std::string& scenario = options.scenario;
    const std::string listen = listen_address(options.listen);
    if (listen.empty()) {
        fprintf(stderr, "kestrel: --listen %s: not an IPv4 or IPv6 address (such as 127.0.0.1, ::1 or 0.0.0.0) "
                        "or localhost\n", options.listen.c_str());
        return 2;
    }
    if (listen[0] == '[' && !mg_check_feature(8)) {
        fprintf(stderr, "kestrel: --listen %s: this build's web server (civetweb) has no IPv6; give an IPv4 address\n",
                options.listen.c_str());
        return 2;
    }
    if (o.panel.empty()) o.panel = demo_panel();
    // Refused before anything listens.
    if (std::string why = panel_file_problem(o.panel); !why.empty()) {
        fprintf(stderr, "kestrel: %s\n", why.c_str());
        return 2;
    }
    if (!scenario.empty())
        if (std::string why = text_file_problem(scenario, "a scenario (.kes)"); !why.empty()) {
            fprintf(stderr, "kestrel: %s\n", why.c_str());
            return 2;
        }
    o.scenarios = scenarios_beside(o.panel);
    if (!scenario.empty()) {
        o.scenarios.insert(o.scenarios.begin(), scenario);
    }
    if (is_dir(program_directory() + "/sound")) o.sound_dir = program_directory() + "/sound";

    Server server;
    std::string error;
    if (!server.start(listen, options.port, o.sound_dir, &error)) {
        fprintf(stderr, "kestrel: %s\n", error.c_str());
        return 2;
    }
    auto session = std::make_unique<LiveSession>(o);
    // Modules that are not installed, on one line: their gauges are drawn
    // as placeholders.
    std::string missing;
    for (const std::string& p : session->problems()) {
        const size_t at = p.find(": no module ");
        if (at == std::string::npos) {
            fprintf(stderr, "%s\n", p.c_str());
            continue;
        }
        const size_t name = at + strlen(": no module ");
        // "no module Clock Classic (/path/Clock Classic.gau); ...": names may hold blanks.
        missing += (missing.empty() ? "" : ", ") + p.substr(name, p.find(" (", name) - name);
    }
    if (!missing.empty())
        fprintf(stderr, "%s: not in the Gauges folder, drawn as placeholders: %s\n", o.panel.c_str(), missing.c_str());
    if (!scenario.empty()) {
        const std::string name = scenario.substr(scenario.find_last_of('/') == std::string::npos ? 0 : scenario.find_last_of('/') + 1);
        const std::string why = session->handle("scenario " + name);
        if (!why.empty()) fprintf(stderr, "kestrel: %s\n", why.c_str());
    }
    // Where a browser on this machine finds it, and where it listens.
    const std::string here = listen == "0.0.0.0" ? "127.0.0.1" : listen == "[::]" ? "[::1]" : listen;
    const char* reach = listen == "0.0.0.0" || listen == "[::]" ? ", every network" : "";
    printf("kestrel: the live panel of %s is at http://%s:%d/ (listening on %s port %d%s; Ctrl-C stops it)\n",
           o.panel.c_str(), here.c_str(), server.port(), listen.c_str(), server.port(), reach);
    fflush(stdout);

    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    server.run(*session, interrupted);
    server.stop();
    session.reset();  // every gauge gets its pre-kill
    printf("kestrel: stopped\n");
    return 0;
}

}  // namespace kestrel
