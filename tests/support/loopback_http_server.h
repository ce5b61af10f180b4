#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tw::test {

/// An HTTP server on 127.0.0.1 (a port the system picks) for one test: each connection's request
/// target goes to the handler, whose bytes are sent back whole before the connection closes;
/// nothing from the handler holds the connection open, unanswered, until the server stops. The
/// destructor stops it.
class LoopbackHttpServer
{
public:
    using Handler = std::function<std::optional<std::string>(const std::string &target)>;

    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    int port() const { return port_; }
    /// "http://127.0.0.1:PORT" + path.
    std::string url(const std::string &path) const;
    /// The request targets received so far.
    std::vector<std::string> targets() const;

    /// A whole response with status 200 and the body.
    static std::string ok(const std::string &body);
    /// A response with the status line's code and reason and a short body.
    static std::string status(int code, const std::string &reason);
    /// A response that announces the whole body's length but stops after its first half.
    static std::string cut_halfway(const std::string &body);

private:
    void serve();
    void answer(int connection);

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
    std::thread thread_;
};

} // namespace tw::test
