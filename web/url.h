// URL dissection: the host, the port and the path-with-query of a URL, taken apart with text
// operations alone. Nothing here touches the network or fails.
#pragma once

#include <optional>

#include "text/text.h"

namespace corvane {

// The host of `url`, lower-cased. Without `levels`: the text between the scheme marker and the
// first "/" after it (a URL without scheme is read as http; "http://" anywhere in the text counts
// as the scheme, so for 'http://t/x' the host is found inside the scheme). With `levels` (any
// value, 0 included): the schemes are removed and only the last levels + 2 labels are kept, or
// levels + 1 with `baseDomainOnly`. Without `levels`, `baseDomainOnly` keeps the last two labels.
// The port stays attached only with `keepPort`.
[[nodiscard]] Text urlHost(const Text& url, bool baseDomainOnly = false, bool keepPort = false,
                           std::optional<int> levels = std::nullopt);

// The port: the number after the host's last ":" (0 when that is no number), else 443 for a URL
// that starts with "https" in any case and 80 for every other.
[[nodiscard]] int urlPort(const Text& url);

// The path and query, in the caller's case and unescaped, from the first "/" at or after the
// place where the host is first found in `url`; "/" when there is none.
[[nodiscard]] Text urlPath(const Text& url);

}  // namespace corvane
