#include "regfile/reg_file.h"

#include "platform/text.h"

namespace pagelark {

const RegValue* RegKey::Find(std::string_view name) const {
    const auto it = index_.find(ToUpper(name));
    return it == index_.end() ? nullptr : &slots_[it->second].value;
}

void RegKey::Set(std::string_view name, RegValue value) {
    auto upper = ToUpper(name);
    const auto it = index_.find(upper);
    if (it != index_.end()) {
        slots_[it->second].value = std::move(value);
        return;
    }
    index_.emplace(std::move(upper), slots_.size());
    Slot slot;
    slot.name = std::string(name);
    slot.value = std::move(value);
    slots_.push_back(std::move(slot));
}

bool RegKey::Remove(std::string_view name) {
    const auto it = index_.find(ToUpper(name));
    if (it == index_.end()) return false;
    Slot& slot = slots_[it->second];
    slot = Slot{};
    slot.removed = true;
    index_.erase(it);
    ++removedSlots_;
    if (removedSlots_ > 16 && removedSlots_ > index_.size()) Compact();
    return true;
}

std::vector<RegKey::NamedValue> RegKey::Values() const {
    std::vector<NamedValue> values;
    values.reserve(index_.size());
    for (const auto& slot : slots_) {
        if (!slot.removed) values.push_back({slot.name, &slot.value});
    }
    return values;
}

void RegKey::Compact() {
    std::vector<Slot> live;
    live.reserve(index_.size());
    for (auto& slot : slots_) {
        if (!slot.removed) live.push_back(std::move(slot));
    }
    slots_ = std::move(live);
    index_.clear();
    for (std::size_t i = 0; i < slots_.size(); ++i)
        index_.emplace(ToUpper(slots_[i].name), i);
    removedSlots_ = 0;
}

std::string CleanKeyPath(std::string_view path) {
    std::string clean;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) {
            if (!clean.empty()) clean += '\\';
            clean += path.substr(start, end - start);
        }
        start = end + 1;
    }
    return clean;
}

std::string RegDocument::NormalPath(std::string_view path) {
    return ToUpper(CleanKeyPath(path));
}

RegKey* RegDocument::Find(std::string_view path) {
    const auto it = index_.find(NormalPath(path));
    return it == index_.end() ? nullptr : &*keys_[it->second];
}

const RegKey* RegDocument::Find(std::string_view path) const {
    const auto it = index_.find(NormalPath(path));
    return it == index_.end() ? nullptr : &*keys_[it->second];
}

bool RegDocument::Exists(std::string_view path) const {
    auto prefix = NormalPath(path);
    if (index_.contains(prefix)) return true;
    prefix += '\\';
    const auto it = index_.lower_bound(prefix);
    return it != index_.end() && it->first.starts_with(prefix);
}

RegKey& RegDocument::Add(std::string_view path) {
    auto normal = NormalPath(path);
    const auto it = index_.find(normal);
    if (it != index_.end()) return *keys_[it->second];
    index_.emplace(std::move(normal), keys_.size());
    keys_.emplace_back(RegKey(std::string(path)));
    return *keys_.back();
}

std::size_t RegDocument::RemoveTree(std::string_view path) {
    const auto normal = NormalPath(path);
    std::size_t removed = 0;
    auto drop = [&](std::size_t position) {
        for (std::string& lines : keys_[position]->TakeUnread())
            unread_.push_back(std::move(lines));
        keys_[position].reset();
        ++removed;
    };
    if (const auto it = index_.find(normal); it != index_.end()) {
        drop(it->second);
        index_.erase(it);
    }
    // Every path below normal sorts between normal + '\' and normal + ']'.
    const auto first = index_.lower_bound(normal + '\\');
    const auto last = index_.lower_bound(normal + ']');
    for (auto it = first; it != last; ++it)
        drop(it->second);
    index_.erase(first, last);
    removedKeys_ += removed;
    if (removedKeys_ > 64 && removedKeys_ > index_.size()) Compact();
    return removed;
}

std::vector<const RegKey*> RegDocument::Keys() const {
    std::vector<const RegKey*> keys;
    keys.reserve(index_.size());
    for (const auto& key : keys_) {
        if (key) keys.push_back(&*key);
    }
    return keys;
}

void RegDocument::Compact() {
    std::vector<std::optional<RegKey>> live;
    live.reserve(index_.size());
    for (auto& key : keys_) {
        if (key) live.push_back(std::move(key));
    }
    keys_ = std::move(live);
    index_.clear();
    for (std::size_t i = 0; i < keys_.size(); ++i)
        index_.emplace(NormalPath(keys_[i]->Path()), i);
    removedKeys_ = 0;
}

}  // namespace pagelark
