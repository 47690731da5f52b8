// The service's answers, bound to the routes of an HTTPS server.
#pragma once

#include <httplib.h>

#include <chrono>

#include "request_log.h"
#include "silence_gate.h"

namespace songservice {

struct ServiceSettings {
  bool faults = false;  // answer the reserved fault-* names with their faults
  int port = 0;         // for links when a request carries no usable Host header
  // How long the silent faults keep quiet before they give up.
  std::chrono::seconds silence{120};
};

// Logs every request line and answers:
//   /API/yy_sq.php?msg=NAME[&type=text&n=K]  search and play-link answers
//   /mp3/KEY.mp3                              the songs
//   /api/dm-qt?qq=NUMBER                      avatars
//   /pages/DEVELOPER/PAGE.html                the developers' pages
// The log, the gate and the server must outlive the server's listening.
void installRoutes(httplib::Server& server, const ServiceSettings& settings, RequestLog& log,
                   SilenceGate& gate);

}  // namespace songservice
