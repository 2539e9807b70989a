#pragma once
// A mosquitto broker of a test's or a benchmark's own, on a loopback port.

#include <memory>
#include <string>

#include "e2e/support/harness.h"

namespace pagelark::e2e {

int FreeLoopbackPort();

class Mosquitto {
  public:
    // config: its listeners and what they ask; it keeps nothing across a restart.
    Mosquitto(const testing::TempFolder& folder, const std::string& config, int port);
    // Returns once it listens; throws when it does not start.
    void Start();
    void Stop() { process_.reset(); }

  private:
    std::string file_, log_;
    int port_;
    std::unique_ptr<Process> process_;
};

}  // namespace pagelark::e2e
