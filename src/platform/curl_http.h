#pragma once

#include "platform/http_port.h"

#include <chrono>
#include <cstddef>

namespace tw {

/// The HTTP port over libcurl: http and https only (certificates checked), redirects followed,
/// and every transfer bounded in time and size.
class CurlHttpPort : public HttpPort
{
public:
    struct Limits
    {
        /// For the whole transfer; a station's season of days arrives in well under a second.
        std::chrono::milliseconds timeout{30'000};
        /// Years of daily weather are under a megabyte; more is not weather.
        std::size_t max_bytes = std::size_t{16} << 20;
    };

    CurlHttpPort();
    explicit CurlHttpPort(Limits limits);

    HttpResult get(const std::string &url) override;

private:
    Limits limits_;
};

} // namespace tw
