// The benchmarks that talk to the local song service find it through the
// environment: SONGPICKER_SERVICE_PORT names the port on localhost (run_all.sh
// starts the service and sets it).
#pragma once

#include <string>

namespace sp::bench {

// The port, or 0 when the variable is missing or not a port.
int servicePort();

// The build's certificate authority that signed the service's certificate.
std::string serviceCaFile();

// "https://localhost:PORT"
std::string serviceOrigin(int port);

// Points the program's song and avatar services at localhost:port and trusts the
// service's certificate authority.
void useLocalService(int port);

}  // namespace sp::bench
