#pragma once
// An in-memory registry for tests of code above the registry layer.

#include <map>
#include <string>
#include <utility>

#include "document/registry.h"
#include "platform/text.h"

namespace pagelark::testing {

class FakeRegistry final : public RegistryBackend {
  public:
    RegError OpenKey(RegRoot root, std::string_view path) override {
        return keys_.count(Key(root, path)) ? RegError::Success : RegError::FileNotFound;
    }
    RegError CreateKey(RegRoot root, std::string_view path) override {
        if (readOnly) return RegError::AccessDenied;
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
        if (readOnly) return RegError::AccessDenied;
        keys_[Key(root, path)][ToUpper(name)] = value;
        return RegError::Success;
    }
    RegError DeleteValue(RegRoot root, std::string_view path, std::string_view name) override {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end() || key->second.erase(ToUpper(name)) == 0)
            return RegError::FileNotFound;
        return RegError::Success;
    }

    // Test set-up and inspection.
    void Put(RegRoot root, std::string_view path, std::string_view name, std::string_view text,
             RegType type = RegType::String) {
        keys_[Key(root, path)][ToUpper(name)] = RegValue{type, std::string(text)};
    }
    bool Has(RegRoot root, std::string_view path, std::string_view name) const {
        auto key = keys_.find(Key(root, path));
        return key != keys_.end() && key->second.count(ToUpper(name)) > 0;
    }
    std::string Get(RegRoot root, std::string_view path, std::string_view name) const {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end()) return "<missing>";
        auto value = key->second.find(ToUpper(name));
        return value == key->second.end() ? "<missing>" : value->second.data;
    }
    bool HasKey(RegRoot root, std::string_view path) const {
        return keys_.count(Key(root, path)) > 0;
    }

    bool readOnly = false;

  private:
    static std::pair<RegRoot, std::string> Key(RegRoot root, std::string_view path) {
        return {root, ToUpper(path)};
    }
    std::map<std::pair<RegRoot, std::string>, std::map<std::string, RegValue>> keys_;
};

}  // namespace pagelark::testing
