#include "platform/leftovers.h"

#include <cstdlib>
#include <random>

#include "platform/process_memory.h"

namespace pagelark {
namespace {

constexpr std::size_t kUniqueLength = 6;  // mkstemp's XXXXXX

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The pid in "<pid>-XXXXXX", or 0 when the rest of a name is not of that form.
long TaggedPid(std::string_view rest) {
    std::size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits]))
        ++digits;
    if (digits == 0 || digits > 9 || rest.size() != digits + 1 + kUniqueLength ||
        rest[digits] != '-')
        return 0;
    for (char c : rest.substr(digits + 1))
        if (!IsDigit(c) && !IsLetter(c)) return 0;
    return std::atol(std::string(rest.substr(0, digits)).c_str());
}

}  // namespace

std::string TaggedTemplate(std::string_view prefix) {
    return std::string(prefix) + std::to_string(CurrentProcessId()) + "-XXXXXX";
}

std::string TaggedUniqueName(std::string_view prefix) {
    static thread_local std::mt19937 engine{std::random_device{}()};
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = TaggedTemplate(prefix);
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (auto x = name.rbegin(); x != name.rend() && *x == 'X'; ++x)
        *x = kLetters[pick(engine)];
    return name;
}

bool IsLeftover(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return false;
    const long pid = TaggedPid(name.substr(prefix.size()));
    if (pid <= 0) return false;
    return pid == CurrentProcessId() || !ProcessAlive(static_cast<int>(pid));
}

}  // namespace pagelark
