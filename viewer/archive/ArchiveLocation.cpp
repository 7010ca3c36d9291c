#include "ArchiveLocation.h"

#include <cctype>

namespace kovra::archive {

namespace {

constexpr std::string_view kSchemes[] = {"postgresql://", "postgres://"};

std::string_view AfterScheme(std::string_view uri)
{
    for (const std::string_view scheme : kSchemes)
        if (uri.size() >= scheme.size()) {
            bool same = true;
            for (std::size_t i = 0; i < scheme.size() && same; ++i)
                same = std::tolower(static_cast<unsigned char>(uri[i])) == scheme[i];
            if (same)
                return uri.substr(scheme.size());
        }
    return {};
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

struct Parts {
    std::string_view userinfo, hosts, query;
};

Parts Split(std::string_view rest)
{
    Parts p;
    const std::size_t q = rest.find('?');
    if (q != std::string_view::npos) {
        p.query = rest.substr(q + 1);
        rest = rest.substr(0, q);
    }
    rest = rest.substr(0, rest.find('/'));
    const std::size_t at = rest.rfind('@');
    if (at != std::string_view::npos) {
        p.userinfo = rest.substr(0, at);
        rest = rest.substr(at + 1);
    }
    p.hosts = rest;
    return p;
}

// The value of `key` among the URI's query parameters, if given.
bool QueryValue(std::string_view query, std::string_view key, std::string& value)
{
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (eq != std::string_view::npos && PercentDecoded(pair.substr(0, eq)) == key) {
            value = PercentDecoded(pair.substr(eq + 1));
            return true;
        }
        if (amp == std::string_view::npos)
            break;
        query = query.substr(amp + 1);
    }
    return false;
}

} // namespace

bool IsServerLocation(std::string_view location) { return AfterScheme(location).data() != nullptr; }

std::string ServerHostOf(std::string_view uri)
{
    const Parts p = Split(AfterScheme(uri));
    std::string host;
    if (QueryValue(p.query, "host", host) && !host.empty())
        return host;
    host = PercentDecoded(p.hosts);
    return host.empty() ? "localhost" : host;
}

bool HasPassword(std::string_view uri)
{
    const Parts p = Split(AfterScheme(uri));
    std::string value;
    return p.userinfo.find(':') != std::string_view::npos || QueryValue(p.query, "password", value);
}

} // namespace kovra::archive
