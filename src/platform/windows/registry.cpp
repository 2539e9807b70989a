#include "platform/system_registry.h"

#include "platform/windows/wide.h"

namespace pagelark {
namespace {

HKEY RootKey(RegRoot root) {
    // The predefined handles are these numbers sign-extended, as the system's headers make them:
    // no pointer to optimise.
    return reinterpret_cast<HKEY>(  // NOLINT(performance-no-int-to-ptr)
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

RegError ErrorOf(LSTATUS status) {
    return static_cast<RegError>(status);
}

bool Nameable(std::string_view name) {
    return name.find('\0') == std::string_view::npos;
}

bool IsText(RegType type) {
    return type == RegType::String || type == RegType::ExpandString || type == RegType::MultiString;
}

class Key {
  public:
    Key() = default;
    ~Key() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// The registry itself. Text crosses as UTF-16; stored text that is not UTF-8 is read as
// Windows-1252, as everywhere else in the program.
class WindowsRegistry final : public RegistryBackend {
  public:
    RegError OpenKey(RegRoot root, std::string_view path) override {
        if (!Nameable(path)) return RegError::InvalidName;
        Key key;
        return ErrorOf(::RegOpenKeyExW(RootKey(root), Wide(path).c_str(), 0, KEY_READ, key.Out()));
    }

    RegError CreateKey(RegRoot root, std::string_view path) override {
        if (!Nameable(path)) return RegError::InvalidName;
        Key key;
        return ErrorOf(::RegCreateKeyExW(RootKey(root), Wide(path).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                         nullptr, key.Out(), nullptr));
    }

    RegRead QueryValue(RegRoot root, std::string_view path, std::string_view name) override {
        RegRead read;
        if (!Nameable(path) || !Nameable(name)) {
            read.error = RegError::InvalidName;
            return read;
        }
        Key key;
        LSTATUS status =
            ::RegOpenKeyExW(RootKey(root), Wide(path).c_str(), 0, KEY_QUERY_VALUE, key.Out());
        const std::wstring value = Wide(name);
        std::string bytes;
        DWORD type = REG_NONE;
        // Read whole at any length; the value may grow between the two calls, but one that
        // keeps growing is given up on, not returned unread.
        for (int tries = 0; status == ERROR_SUCCESS; ++tries) {
            DWORD size = static_cast<DWORD>(bytes.size());
            status = ::RegQueryValueExW(key.Get(), value.c_str(), nullptr, &type,
                                        reinterpret_cast<BYTE*>(bytes.data()), &size);
            const bool larger =
                status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && bytes.size() < size);
            bytes.resize(size);
            if (!larger) break;
            status = tries < 3 ? ERROR_SUCCESS : ERROR_MORE_DATA;
        }
        read.error = ErrorOf(status);
        if (status != ERROR_SUCCESS) return read;
        read.value.type = static_cast<RegType>(type);
        if (IsText(read.value.type)) {
            std::wstring text(bytes.size() / 2, L'\0');
            std::copy(bytes.begin(), bytes.begin() + static_cast<long>(text.size() * 2),
                      reinterpret_cast<char*>(text.data()));
            // A string's terminating zero is the system's, not the value's.
            if (read.value.type != RegType::MultiString && !text.empty() && text.back() == L'\0')
                text.pop_back();
            read.value.data = Narrow(text);
        } else {
            read.value.data = std::move(bytes);
        }
        return read;
    }

    RegError SetValue(RegRoot root, std::string_view path, std::string_view name,
                      const RegValue& value) override {
        if (!Nameable(path) || !Nameable(name)) return RegError::InvalidName;
        Key key;
        const LSTATUS opened =
            ::RegCreateKeyExW(RootKey(root), Wide(path).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(), nullptr);
        if (opened != ERROR_SUCCESS) return ErrorOf(opened);
        std::string bytes = value.data;
        if (IsText(value.type)) {
            std::wstring text = Wide(value.data);
            text.push_back(L'\0');
            // A list of strings ends with an empty one.
            if (value.type == RegType::MultiString && (text.size() < 2 || text.end()[-2] != L'\0'))
                text.push_back(L'\0');
            bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        }
        return ErrorOf(::RegSetValueExW(
            key.Get(), Wide(name).c_str(), 0, static_cast<DWORD>(value.type),
            reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    }

    RegError DeleteValue(RegRoot root, std::string_view path, std::string_view name) override {
        if (!Nameable(path) || !Nameable(name)) return RegError::InvalidName;
        Key key;
        const LSTATUS opened =
            ::RegOpenKeyExW(RootKey(root), Wide(path).c_str(), 0, KEY_SET_VALUE, key.Out());
        if (opened != ERROR_SUCCESS) return ErrorOf(opened);
        return ErrorOf(::RegDeleteValueW(key.Get(), Wide(name).c_str()));
    }

    std::string Where(RegRoot root) const override {
        switch (root) {
            case RegRoot::CurrentUser:
                return "the registry's HKEY_CURRENT_USER";
            case RegRoot::LocalMachine:
                return "the registry's HKEY_LOCAL_MACHINE";
            case RegRoot::ClassesRoot:
                return "the registry's HKEY_CLASSES_ROOT";
            default:
                return "the registry";
        }
    }
};

}  // namespace

std::unique_ptr<RegistryBackend> SystemRegistry() {
    return std::make_unique<WindowsRegistry>();
}

}  // namespace pagelark
