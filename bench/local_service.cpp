#include "local_service.h"

#include <cstdlib>

#include "platform/settings.h"

namespace sp::bench {

int servicePort() {
  const char* value = std::getenv("SONGPICKER_SERVICE_PORT");
  if (value == nullptr) return 0;
  char* end = nullptr;
  const long port = std::strtol(value, &end, 10);
  return (*end == '\0' && port > 0 && port < 65536) ? static_cast<int>(port) : 0;
}

std::string serviceCaFile() {
  return std::string(SONGPICKER_CERT_DIR) + "/ca.pem";
}

std::string serviceOrigin(int port) {
  return "https://localhost:" + std::to_string(port);
}

void useLocalService(int port) {
  const std::string host = "localhost:" + std::to_string(port);
  settings().songServiceHost = host;
  settings().avatarServiceHost = host;
  settings().extraCaFile = serviceCaFile();
}

}  // namespace sp::bench
