#pragma once
// An in-memory registry for tests of code above the registry layer.

#include <map>
#include <string>
#include <utility>

#include "platform/text.h"
#include "settings/registry.h"

namespace pagelark::testing {

class FakeRegistry final : public RegistryBackend {
  public:
    RegError OpenKey(RegRoot root, std::string_view path) override {
        return keys_.count(Key(root, path)) ? RegError::Success : RegError::FileNotFound;
    }
    RegError CreateKey(RegRoot root, std::string_view path) override {
        keys_[Key(root, path)];
        return RegError::Success;
    }
    RegRead QueryValue(RegRoot root, std::string_view path, std::string_view name) override {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end()) return {};
        auto found = key->second.find(ToUpper(name));
        if (found == key->second.end()) return {};
        return {RegError::Success, found->second};
    }
    RegError SetValue(RegRoot root, std::string_view path, std::string_view name,
                      const RegValue& value) override {
        keys_[Key(root, path)][ToUpper(name)] = value;
        return RegError::Success;
    }
    RegError DeleteValue(RegRoot root, std::string_view path, std::string_view name) override {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end() || key->second.erase(ToUpper(name)) == 0)
            return RegError::FileNotFound;
        return RegError::Success;
    }

    // Test set-up and inspection, of text values.
    void Put(RegRoot root, std::string_view path, std::string_view name, std::string_view text) {
        SetValue(root, path, name, RegValue{RegType::String, std::string(text)});
    }
    std::string Get(RegRoot root, std::string_view path, std::string_view name) {
        const RegRead read = QueryValue(root, path, name);
        return read.error == RegError::Success ? read.value.data : "<missing>";
    }

  private:
    static std::pair<RegRoot, std::string> Key(RegRoot root, std::string_view path) {
        return {root, ToUpper(path)};
    }
    std::map<std::pair<RegRoot, std::string>, std::map<std::string, RegValue>> keys_;
};

}  // namespace pagelark::testing
