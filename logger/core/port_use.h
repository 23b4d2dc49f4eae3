#pragma once
// The start window's port_used table: one entry per port number, true while
// a settings frame holds that port open. Numbers outside the table (no
// port, "Close Port" never reaches it) are never in use and never marked.
#include <array>

namespace korv::logger {

using PortUsed = std::array<bool, 10>;

constexpr bool in_table(int port) { return port >= 0 && port < static_cast<int>(PortUsed{}.size()); }

constexpr bool port_in_use(const PortUsed& table, int port) {
    return in_table(port) && table[static_cast<std::size_t>(port)];
}

constexpr void mark_port(PortUsed& table, int port, bool used) {
    if (in_table(port)) table[static_cast<std::size_t>(port)] = used;
}

}  // namespace korv::logger
