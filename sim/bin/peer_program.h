#pragma once
// What every peer program does: take its options, print the slave path, run
// until interrupted.
#include "sim/core/peer.h"

#include <optional>

namespace korv::sim {

// "--instant" sends without pacing; anything else unknown gives nullopt
// after printing the usage.
std::optional<Pacing> parse_pacing(int argc, char** argv, const char* program);

// Prints the slave path and the line to run a program against it, then
// serves until SIGINT or SIGTERM, arming a line fault for each line typed on
// standard input ("stall 1500", "drop", ...). Returns the process exit code.
int serve(Peer& peer, const char* program = "./Korvlog");

// Signals to wait for must be blocked before any thread starts.
void block_stop_signals();

}  // namespace korv::sim
