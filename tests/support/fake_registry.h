#pragma once
// An in-memory registry for tests of code above the registry layer.

#include <map>
#include <string>
#include <utility>

#include "document/registry.h"
#include "document/text.h"

namespace pagelark::testing {

class FakeRegistry final : public RegistryBackend {
  public:
    std::int32_t OpenKey(std::uint32_t root, std::string_view path) override {
        return keys_.count(Key(root, path)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    std::int32_t CreateKey(std::uint32_t root, std::string_view path) override {
        if (readOnly) return ERROR_ACCESS_DENIED;
        keys_[Key(root, path)];
        return ERROR_SUCCESS;
    }
    std::int32_t QueryValue(std::uint32_t root, std::string_view path, std::string_view name,
                            RegValue& value) override {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end()) return ERROR_FILE_NOT_FOUND;
        auto found = key->second.find(ToUpper(name));
        if (found == key->second.end()) return ERROR_FILE_NOT_FOUND;
        value = found->second;
        return ERROR_SUCCESS;
    }
    std::int32_t SetValue(std::uint32_t root, std::string_view path, std::string_view name,
                          const RegValue& value) override {
        if (readOnly) return ERROR_ACCESS_DENIED;
        keys_[Key(root, path)][ToUpper(name)] = value;
        return ERROR_SUCCESS;
    }
    std::int32_t DeleteValue(std::uint32_t root, std::string_view path,
                             std::string_view name) override {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end() || key->second.erase(ToUpper(name)) == 0)
            return ERROR_FILE_NOT_FOUND;
        return ERROR_SUCCESS;
    }

    // Test set-up and inspection.
    void Put(std::uint32_t root, std::string_view path, std::string_view name,
             std::string_view text, std::uint32_t type = REG_SZ) {
        keys_[Key(root, path)][ToUpper(name)] = RegValue{type, std::string(text)};
    }
    bool Has(std::uint32_t root, std::string_view path, std::string_view name) const {
        auto key = keys_.find(Key(root, path));
        return key != keys_.end() && key->second.count(ToUpper(name)) > 0;
    }
    std::string Get(std::uint32_t root, std::string_view path, std::string_view name) const {
        auto key = keys_.find(Key(root, path));
        if (key == keys_.end()) return "<missing>";
        auto value = key->second.find(ToUpper(name));
        return value == key->second.end() ? "<missing>" : value->second.data;
    }
    bool HasKey(std::uint32_t root, std::string_view path) const {
        return keys_.count(Key(root, path)) > 0;
    }

    bool readOnly = false;

  private:
    static std::pair<std::uint32_t, std::string> Key(std::uint32_t root, std::string_view path) {
        return {root, ToUpper(path)};
    }
    std::map<std::pair<std::uint32_t, std::string>, std::map<std::string, RegValue>> keys_;
};

}  // namespace pagelark::testing
