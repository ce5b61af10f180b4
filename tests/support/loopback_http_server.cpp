#include "support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace tw::test {
namespace {

/// How often the server looks at its stop flag while it waits.
constexpr int kPollMs = 20;
/// A request line and headers from libcurl are far below this.
constexpr std::size_t kMaxRequestBytes = 64 * 1024;

std::string response(const std::string &status_line, const std::string &body, std::size_t announced)
{
    return "HTTP/1.1 " + status_line +
           "\r\nContent-Type: text/csv\r\nContent-Length: " + std::to_string(announced) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler)
    : handler_(std::move(handler))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("the loopback server cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

std::string LoopbackHttpServer::url(const std::string &path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackHttpServer::targets() const
{
    const std::lock_guard lock(mutex_);
    return targets_;
}

std::string LoopbackHttpServer::ok(const std::string &body)
{
    return response("200 OK", body, body.size());
}

std::string LoopbackHttpServer::status(int code, const std::string &reason)
{
    return response(std::to_string(code) + " " + reason, reason, reason.size());
}

std::string LoopbackHttpServer::cut_halfway(const std::string &body)
{
    return response("200 OK", body.substr(0, body.size() / 2), body.size());
}

void LoopbackHttpServer::serve()
{
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0)
            continue;
        answer(connection);
        ::close(connection);
    }
}

void LoopbackHttpServer::answer(int connection)
{
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes &&
           !stopping_) {
        pollfd readable{connection, POLLIN, 0};
        if (::poll(&readable, 1, kPollMs) <= 0)
            continue;
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t space = request.find(' ');
    const std::string target = request.substr(space + 1, request.find(' ', space + 1) - space - 1);
    {
        const std::lock_guard lock(mutex_);
        targets_.push_back(target);
    }
    const std::optional<std::string> reply = handler_(target);
    if (!reply) {
        while (!stopping_)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        return;
    }
    for (std::size_t sent = 0; sent < reply->size();) {
        const ssize_t n =
            ::send(connection, reply->data() + sent, reply->size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace tw::test
