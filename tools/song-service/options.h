// The command line: song-service --port N --cert FILE --key FILE [--log FILE|-] [--faults]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace songservice {

struct Options {
  int port = 0;
  std::string certificateFile;
  std::string keyFile;
  std::string logFile = "-";  // "-": standard output
  bool faults = false;
};

// Parses the arguments after the program name. On a mistake: nothing, and the
// reason in error.
std::optional<Options> parseOptions(const std::vector<std::string>& arguments, int defaultPort,
                                    std::string& error);

inline constexpr const char* kUsage =
    "usage: song-service [--port N] --cert FILE --key FILE [--log FILE|-] [--faults]\n"
    "  --port N     listen on 127.0.0.1:N (0 picks a free port)\n"
    "  --cert FILE  the server certificate (PEM)\n"
    "  --key FILE   its private key (PEM)\n"
    "  --log FILE   where request lines go, '-' for standard output (the default)\n"
    "  --faults     answer the reserved fault-* song names with broken answers\n";

}  // namespace songservice
