#pragma once
// One web page fetched over HTTP or HTTPS through WinHTTP: what the knowledge-base look-up reads an
// article's title from. Bounded in time and size, so a look-up never hangs on the network for long.
#include <cstddef>
#include <cstdint>
#include <expected>
#include <stop_token>
#include <string>
#include <string_view>

namespace vantrel {

struct WebPage {
    unsigned status = 0; // the HTTP status of the last answer, after redirects
    std::string body;    // its bytes as sent, at most kWebPageMaximumBytes of them
};

inline constexpr std::size_t kWebPageMaximumBytes = 2 * 1024 * 1024;
inline constexpr int kWebStepTimeoutMs = 5000; // each of resolving, connecting, sending, receiving

// GETs `address` ("http://" or "https://"), following redirects. An answer with any status is a page; the
// error is the Windows or WinHTTP error code when none came. `stop` ends the reading of the body early (what
// was read so far is the page).
[[nodiscard]] std::expected<WebPage, std::uint32_t> FetchWebPage(std::wstring_view address,
                                                                 std::stop_token stop = {});

// WinHTTP's own words for its error codes (12001 to 12192), the system's for the others.
std::wstring WebErrorMessage(std::uint32_t code);

} // namespace vantrel
