#pragma once
// The visitor's hand: pointer moves, clicks and keys through xdotool on the test's server.

#include <string>
#include <string_view>
#include <vector>

namespace pagelark::e2e {

class Xvfb;

class Pointer {
  public:
    explicit Pointer(const Xvfb& server);

    // Each returns once xdotool has delivered the event; throws when xdotool fails.
    void MoveTo(int x, int y) const;
    void Click(int button = 1) const;        // where the pointer is; 3 is the right button
    void Key(std::string_view key) const;    // a key name as xdotool knows it: "Escape"
    void Type(std::string_view text) const;  // each character as its key

  private:
    void Run(std::vector<std::string> arguments) const;

    std::vector<std::string> environment_;
};

}  // namespace pagelark::e2e
