#include "options.h"

#include <charconv>

namespace songservice {

std::optional<Options> parseOptions(const std::vector<std::string>& arguments, int defaultPort,
                                    std::string& error) {
  Options options;
  options.port = defaultPort;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--faults") {
      options.faults = true;
      continue;
    }
    if (name != "--port" && name != "--cert" && name != "--key" && name != "--log") {
      error = "unknown argument: " + name;
      return std::nullopt;
    }
    if (i + 1 == arguments.size()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (name == "--port") {
      int port = -1;
      const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), port);
      if (status != std::errc() || end != value.data() + value.size() || port < 0 || port > 65535) {
        error = "--port needs a number from 0 to 65535, not " + value;
        return std::nullopt;
      }
      options.port = port;
    } else if (name == "--cert") {
      options.certificateFile = value;
    } else if (name == "--key") {
      options.keyFile = value;
    } else {
      options.logFile = value;
    }
  }
  if (options.certificateFile.empty() || options.keyFile.empty()) {
    error = "--cert and --key are required";
    return std::nullopt;
  }
  return options;
}

}  // namespace songservice
