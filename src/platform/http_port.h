#pragma once

#include <optional>
#include <string>

namespace tw {

/// What a GET brought back: the body, or one line saying why there is none.
struct HttpResult
{
    std::optional<std::string> body;
    std::string problem;
};

/// How core fetches a document from the network: it names the address, the port does the
/// transfer (libcurl in the programs, a stand-in in tests). Only a complete answer with a
/// success status and a non-empty body is a body.
class HttpPort
{
public:
    virtual ~HttpPort() = default;
    virtual HttpResult get(const std::string &url) = 0;
};

} // namespace tw
