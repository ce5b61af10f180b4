#include "platform/curl_http.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string>

namespace tw {
namespace {

struct Transfer
{
    std::string body;
    std::size_t max_bytes;
    bool too_large = false;
};

std::size_t take_bytes(char *data, std::size_t size, std::size_t count, void *user)
{
    auto &transfer = *static_cast<Transfer *>(user);
    const std::size_t n = size * count;
    if (transfer.body.size() + n > transfer.max_bytes) {
        transfer.too_large = true;
        return 0; // libcurl ends the transfer with a write error
    }
    transfer.body.append(data, n);
    return n;
}

void global_init_once()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string seconds_text(std::chrono::milliseconds ms)
{
    const long long whole = ms.count() / 1000;
    if (ms.count() % 1000 == 0)
        return std::to_string(whole) + (whole == 1 ? " second" : " seconds");
    return std::to_string(ms.count()) + " ms";
}

// libcurl's own text names the host, port or certificate; the words before it say what kind of
// failure it is, so that a grower can tell a dead network from a wrong address.
std::string reason(CURLcode code, const char *detail, const CurlHttpPort::Limits &limits)
{
    const std::string own = *detail ? detail : curl_easy_strerror(code);
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return "not an http:// or https:// address (" + own + ")";
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return "the server's name could not be looked up: no network or a wrong address (" + own +
               ")";
    case CURLE_COULDNT_CONNECT:
        return "no connection to the server: no network, or the server is down (" + own + ")";
    case CURLE_OPERATION_TIMEDOUT:
        return "the server did not answer within " + seconds_text(limits.timeout);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING: return "the answer stopped before its end (" + own + ")";
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE: return "the secure connection could not be made (" + own + ")";
    case CURLE_TOO_MANY_REDIRECTS: return "the address redirects too often (" + own + ")";
    default: return own;
    }
}

} // namespace

CurlHttpPort::CurlHttpPort()
    : CurlHttpPort(Limits{})
{}

CurlHttpPort::CurlHttpPort(Limits limits)
    : limits_(limits)
{
    global_init_once();
}

HttpResult CurlHttpPort::get(const std::string &url)
{
    const std::unique_ptr<CURL, void (*)(CURL *)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return {std::nullopt, "the network library could not start"};
    Transfer transfer{{}, limits_.max_bytes};
    char detail[CURL_ERROR_SIZE] = {};
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.timeout.count()));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.timeout.count()));
    // No signals: a desktop program's other threads (Qt's) must not see SIGALRM.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Tillwise");
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &take_bytes);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    const CURLcode code = curl_easy_perform(c);
    if (transfer.too_large)
        return {std::nullopt,
                "the answer is larger than " + std::to_string(limits_.max_bytes >> 20) + " MiB"};
    if (code != CURLE_OK)
        return {std::nullopt, reason(code, detail, limits_)};
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return {std::nullopt, "the server answered with HTTP status " + std::to_string(status)};
    if (transfer.body.empty())
        return {std::nullopt, "the server's answer is empty"};
    return {std::move(transfer.body), {}};
}

} // namespace tw
