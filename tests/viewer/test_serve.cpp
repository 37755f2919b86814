// kestrel serve over the network: the page's files, the WebSocket, and what
// the server does with requests it must not serve. The requests go through
// civetweb's own client calls to a server on a free port of 127.0.0.1.
#include <civetweb.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/support.h"
#include "viewer/server.h"

namespace kestrel::test {
namespace {

using namespace std::chrono_literals;

// What a WebSocket client received.
struct Inbox {
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::string> texts;
    int pictures = 0;
    bool closed = false;

    static int on_data(mg_connection*, int bits, char* data, size_t size, void* self) {
        Inbox& in = *static_cast<Inbox*>(self);
        std::lock_guard<std::mutex> lock(in.mutex);
        if ((bits & 0xF) == MG_WEBSOCKET_OPCODE_TEXT) in.texts.emplace_back(data, size);
        if ((bits & 0xF) == MG_WEBSOCKET_OPCODE_BINARY) ++in.pictures;
        in.wake.notify_all();
        return 1;
    }
    static void on_close(const mg_connection*, void* self) {
        Inbox& in = *static_cast<Inbox*>(self);
        std::lock_guard<std::mutex> lock(in.mutex);
        in.closed = true;
        in.wake.notify_all();
    }
    // Waits for a text message holding `what`.
    bool wait_for(const std::string& what) {
        std::unique_lock<std::mutex> lock(mutex);
        return wake.wait_for(lock, 20s, [&] {
            for (const std::string& t : texts)
                if (t.find(what) != std::string::npos) return true;
            return false;
        });
    }
};

class Serve : public ::testing::Test {
protected:
    void SetUp() override {
        LiveOptions o;
        o.host = options();
        o.artwork_dir = KESTREL_ARTWORK_DIR;
        o.panel = SOURCE_DIR "/panels/development/panel.cfg";
        o.sound_dir = KESTREL_SOUND_DIR;
        session = std::make_unique<LiveSession>(o);
        std::string error;
        ASSERT_TRUE(server.start("127.0.0.1", 0, KESTREL_SOUND_DIR, &error)) << error;
        port = server.port();
        ASSERT_GT(port, 0);
        runner = std::thread([this] { server.run(*session, stop); });
    }
    void TearDown() override {
        stop = true;
        if (runner.joinable()) runner.join();
        server.stop();
    }

    // A raw request; the status and the body, or 0 when no answer came.
    int request(const std::string& text, std::string* body = nullptr) {
        char error[256] = "";
        mg_connection* c = mg_download("127.0.0.1", port, 0, error, sizeof error, "%s", text.c_str());
        if (!c) return 0;
        const int status = mg_get_response_info(c)->status_code;
        char chunk[4096];
        int n;
        while ((n = mg_read(c, chunk, sizeof chunk)) > 0)
            if (body) body->append(chunk, n);
        mg_close_connection(c);
        return status;
    }
    mg_connection* open(Inbox* inbox, const char* origin = nullptr) {
        char error[256] = "";
        return mg_connect_websocket_client("127.0.0.1", port, 0, error, sizeof error, "/live", origin, Inbox::on_data,
                                           Inbox::on_close, inbox);
    }

    std::unique_ptr<LiveSession> session;
    Server server;
    int port = 0;
    std::atomic<bool> stop{false};
    std::thread runner;
};

TEST_F(Serve, ServesThePageAndNothingElse) {
    const struct {
        std::string request;
        int status;
        std::string body;
    } cases[] = {
        {"GET / HTTP/1.0\r\n\r\n", 200, "<!DOCTYPE html>"},
        {"GET /app.js HTTP/1.0\r\n\r\n", 200, "new WebSocket"},
        {"GET /style.css HTTP/1.0\r\n\r\n", 200, "canvas"},
        {"GET /studio.js HTTP/1.0\r\n\r\n", 200, "send(`place "},
        {"HEAD / HTTP/1.0\r\n\r\n", 200, ""},
        {"GET /sound/CLICK.WAV HTTP/1.0\r\n\r\n", 200, "RIFF"},
        {"GET /nothing HTTP/1.0\r\n\r\n", 404, ""},
        {"GET /sound/../kestrel HTTP/1.0\r\n\r\n", 404, ""},
        {"GET /sound/%2e%2e/%2e%2e/CMakeCache.txt HTTP/1.0\r\n\r\n", 404, ""},
        {"GET /sound/..%2fkestrel HTTP/1.0\r\n\r\n", 404, ""},
        {"GET /../../../etc/passwd HTTP/1.0\r\n\r\n", 404, ""},
        {"POST / HTTP/1.0\r\nContent-Length: 3\r\n\r\nabc", 405, ""},
        {"DELETE /index.html HTTP/1.0\r\n\r\n", 405, ""},
        {"GET /live HTTP/1.0\r\n\r\n", 404, ""},
    };
    for (const auto& c : cases) {
        std::string body;
        EXPECT_EQ(request(c.request, &body), c.status) << c.request;
        EXPECT_NE(body.find(c.body), std::string::npos) << c.request;
    }
    // Garbage gets no page, and the server answers on.
    request("\x01\x02 nonsense\r\n\r\n");
    request(std::string(20000, 'A') + "\r\n\r\n");
    EXPECT_EQ(request("GET / HTTP/1.0\r\n\r\n"), 200);
}

TEST_F(Serve, WebSocketCarriesThePanelBothWays) {
    Inbox in;
    mg_connection* c = open(&in);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(in.wait_for("\"t\":\"layout\""));
    EXPECT_TRUE(in.wait_for("\"name\":\"power\""));
    {
        std::lock_guard<std::mutex> lock(in.mutex);
        EXPECT_GE(in.pictures, 1);
    }
    auto send = [&](const std::string& m, int opcode = MG_WEBSOCKET_OPCODE_TEXT) {
        mg_websocket_client_write(c, opcode, m.data(), m.size());
    };
    send("set 0x148 16384");
    EXPECT_TRUE(in.wait_for("\"id\":\"0x148\",\"v\":\"16384\""));
    send("fly me");
    EXPECT_TRUE(in.wait_for("\"t\":\"error\",\"message\":\"unknown command 'fly'\""));
    send("\x01\x02", MG_WEBSOCKET_OPCODE_BINARY);
    EXPECT_TRUE(in.wait_for("messages are whole text frames"));
    send("set 0x148 nan");
    EXPECT_TRUE(in.wait_for("\"id\":\"0x148\",\"v\":\"nan\""));
    // No path comes from the page: save writes the panel the server was
    // started with, and takes no word after it.
    send("save /tmp/elsewhere.cfg");
    EXPECT_TRUE(in.wait_for("\"t\":\"error\",\"message\":\"usage: save\""));
    mg_close_connection(c);
}

TEST_F(Serve, TurnsAwayOtherSitesAndTooManyBrowsers) {
    Inbox other;
    EXPECT_EQ(open(&other, "http://elsewhere.example"), nullptr) << "a page of another site";
    Inbox in[Server::MAX_CLIENTS + 1];
    std::vector<mg_connection*> open_ones;
    for (int i = 0; i < Server::MAX_CLIENTS; ++i) {
        // As a browser of this page would (the client's Host names no port).
        mg_connection* c = open(&in[i], "http://127.0.0.1");
        ASSERT_NE(c, nullptr) << i;
        EXPECT_TRUE(in[i].wait_for("\"t\":\"layout\""));
        open_ones.push_back(c);
    }
    EXPECT_EQ(open(&in[Server::MAX_CLIENTS]), nullptr) << "one browser too many";
    mg_close_connection(open_ones.back());
    open_ones.pop_back();
    // The place is free again once the server has seen the close.
    mg_connection* again = nullptr;
    for (int i = 0; i < 50 && !again; ++i) {
        std::this_thread::sleep_for(100ms);
        again = open(&in[Server::MAX_CLIENTS]);
    }
    EXPECT_NE(again, nullptr);
    if (again) open_ones.push_back(again);
    for (mg_connection* c : open_ones) mg_close_connection(c);
}

TEST_F(Serve, APortInUseIsRefusedWithReason) {
    Server second;
    std::string error;
    EXPECT_FALSE(second.start("127.0.0.1", port, "", &error));
    EXPECT_NE(error.find("cannot listen on 127.0.0.1:" + std::to_string(port)), std::string::npos) << error;
}

}  // namespace
}  // namespace kestrel::test
