#pragma once
// Sets an environment variable for one test and restores it afterwards; TZ takes at once.

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace pagelark::testing {

class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedVariable() { Set(old_ ? old_->c_str() : nullptr); }

  private:
    void Set(const char* value) {
#ifdef _WIN32
        ::_putenv_s(name_, value ? value : "");  // an empty value removes it
        ::_tzset();
#else
        value ? ::setenv(name_, value, 1) : ::unsetenv(name_);
        ::tzset();
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace pagelark::testing
