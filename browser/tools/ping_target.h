// Which host the ping tool may hand to the system's ping command: the host part of an address, accepted
// only when it is a host name or an IPv4 or IPv6 address, so nothing else ever reaches a command line.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The host part of an address: without a scheme ("http://", "https://", ...), cut before the first "/",
// "?" or "#", without user information ("name@") and port (":80"), an IPv6 address without its brackets.
// Text without a scheme is taken as starting with the host.
std::wstring CutHost(std::wstring_view address);

// Letters, digits and "-" in labels of at most 63 characters, joined by ".", at most 253 in all, a label
// never starting or ending with "-" (so nothing reads as an option of the command); an all-numeric name
// must be a dotted IPv4 address.
bool IsHostName(std::wstring_view host);
bool IsIPv4(std::wstring_view host);
// Eight groups of hexadecimal digits, one "::" standing for zero groups, an optional dotted IPv4 end and an
// optional numeric zone ("fe80::1%12").
bool IsIPv6(std::wstring_view host);

// The host itself when it has one of the three accepted forms (a name already in its ASCII form).
std::optional<std::wstring> AcceptedHost(std::wstring_view host);
// The host to ping for the address, or nullopt when it holds none of the three accepted forms.
std::optional<std::wstring> PingHostOf(std::wstring_view address);

}  // namespace corvane
