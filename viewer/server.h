// `kestrel serve`: the live panel over HTTP and a WebSocket.
//
// The network is civetweb's (Debian's libcivetweb-dev, built there with
// WebSocket support): a small C library that does HTTP and WebSockets in one,
// with its own threads, and compiles in seconds. (The HTTP library of the
// same release, cpp-httplib 0.11, has no WebSocket; Boost.Beast has, but
// brings asio and long compiles.)
//
// Threads: civetweb's threads only queue what browsers send; one sender
// thread per browser writes what goes out, so a slow browser never holds up
// the panel. The session (host, modules, renderer) lives on the thread that
// calls Server::run, and nowhere else.
//
//   GET /                  the page (viewer/web/, built into the program)
//   GET /app.js, ...       the page's other files
//   GET /sound/NAME.WAV    a wave file of the build's sound folder
//   WebSocket /live        the session's messages (viewer/live.h)
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "viewer/live.h"

namespace kestrel {

class Server {
public:
    // Browsers connected at once, at most; more are turned away.
    static constexpr int MAX_CLIENTS = 4;
    // What may wait to go out to one browser before it is dropped and the
    // browser is sent the whole panel anew when it catches up.
    static constexpr size_t MAX_BACKLOG = 16 << 20;

    Server();
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Listens on the address and port (0: any free port). False, with why,
    // when it cannot (the port is in use, the address is not this machine's).
    // `sound_dir` is where /sound/ finds wave files ("" serves none).
    bool start(const std::string& address, int port, const std::string& sound_dir, std::string* error);
    int port() const;  // the port listened on
    // Runs the session at 18 pictures a second until `stop` is set.
    void run(LiveSession& session, const std::atomic<bool>& stop);
    // Stops listening and closes every connection (the destructor does too).
    void stop();

    struct State;

private:
    std::unique_ptr<State> state_;
};

// The `serve` command's options, as the command line read them.
struct ServeOptions {
    LiveOptions live;  // the panel ("" the development panel), its light and models, the host's options
    std::string listen = "127.0.0.1";
    int port = 8318;
    std::string scenario;
};

// The `serve` command. Returns the exit code: 0 stopped by Ctrl-C, 2 an
// input refused (before listening) or the address or port cannot be had.
int serve_command(const ServeOptions& options);

// The address `listen` names, as civetweb takes it ("127.0.0.1",
// "[::1]"), or "" when it names none: an IPv4 or IPv6 address, or
// "localhost".
std::string listen_address(const std::string& listen);

}  // namespace kestrel
