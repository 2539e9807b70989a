#include "playlog/play_log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#include "platform/append_file.h"
#include "platform/clock.h"
#include "platform/desktop_defaults.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/text.h"

namespace pagelark {

namespace {

// Enough for the last line, the longest address included.
constexpr std::size_t kTailBytes = std::size_t{80} * 1024;

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// Each missing folder down to path, private.
bool MakeFolders(const std::string& path, std::string& why) {
    if (const int error = MakeFolder(path, 0700); error != 0) {
        why = path + ": " + ErrorReason(error);
        return false;
    }
    return true;
}

// ---- a flat JSON object of strings, numbers and booleans, strictly as written ----

class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t'))
            ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool AtEnd() {
        Blanks();
        return at_ == text_.size();
    }
    std::optional<std::string> String() {
        if (!Take('"')) return std::nullopt;
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return std::nullopt;
            switch (const char e = text_[at_++]) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    if (at_ + 4 > text_.size()) return std::nullopt;
                    unsigned code = 0;
                    for (int i = 0; i < 4; ++i) {
                        const int digit = HexDigitValue(text_[at_++]);
                        if (digit < 0) return std::nullopt;
                        code = code * 16 + static_cast<unsigned>(digit);
                    }
                    // Only what the writer escapes: the control characters.
                    if (code >= 0x80) return std::nullopt;
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }
    // A JSON number, or true or false as 1 and 0.
    std::optional<double> Value() {
        Blanks();
        for (const auto& [word, value] : {std::pair{"true", 1.0}, std::pair{"false", 0.0}}) {
            if (text_.substr(at_).starts_with(word)) {
                at_ += std::strlen(word);
                return value;
            }
        }
        const std::size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        const std::size_t digits = at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
            ++at_;
        if (at_ == digits || (text_[digits] == '0' && at_ - digits > 1)) return std::nullopt;
        if (at_ < text_.size() && text_[at_] == '.') {
            const std::size_t fraction = ++at_;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
                ++at_;
            if (at_ == fraction) return std::nullopt;
        }
        return std::strtod(std::string(text_.substr(start, at_ - start)).c_str(), nullptr);
    }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::string PlayLogFolder() {
    return StateFolder();
}

std::vector<std::string> PlayLogFiles(const std::string& folder) {
    std::vector<std::string> files;
    const std::string stem = folder + "/" + std::string(kPlayLogName);
    for (int generation = PlayLogLimits{}.keep * 10; generation >= 1; --generation) {
        const std::string path = stem + "." + std::to_string(generation) + ".jsonl";
        if (FileExists(path)) files.push_back(path);
    }
    if (FileExists(stem + ".jsonl")) files.push_back(stem + ".jsonl");
    return files;
}

std::string LocalIsoTime(double epochSeconds, std::int32_t zoneOffset) {
    // Worked out here, not by gmtime, which fails before 1970 on Windows.
    const auto local = static_cast<long long>(std::floor(epochSeconds)) + zoneOffset;
    const long long days = (local >= 0 ? local : local - 86399) / 86400;
    const auto second = static_cast<int>(local - days * 86400);
    const CivilDate date = CivilFromDays(days);
    char text[80];
    const std::int32_t minutes = std::abs(zoneOffset) / 60;
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", date.year,
                  date.month, date.day, second / 3600, second / 60 % 60, second % 60,
                  zoneOffset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

std::string PlayLogLine(const PlayRecord& record) {
    return "{\"shown\":\"" + LocalIsoTime(record.since, record.zoneOffset) +
           "\",\"since\":" + Number(record.since) + ",\"seconds\":" + Number(record.seconds) +
           ",\"page\":" + std::to_string(record.page) +
           ",\"address\":" + JsonString(record.address) +
           ",\"loaded\":" + (record.loaded ? "true" : "false") +
           ",\"presentation\":" + JsonString(record.presentation) +
           ",\"version\":" + JsonString(record.version) + "}";
}

std::optional<PlayRecord> ParsePlayLogLine(std::string_view line) {
    LineReader in(line);
    if (!in.Take('{')) return std::nullopt;
    PlayRecord record;
    std::string shown;
    bool hasSince = false, hasPage = false;
    for (bool first = true; !in.Take('}'); first = false) {
        if (!first && !in.Take(',')) return std::nullopt;
        const auto key = in.String();
        if (!key || !in.Take(':')) return std::nullopt;
        const bool text =
            *key == "shown" || *key == "address" || *key == "presentation" || *key == "version";
        if (text) {
            auto value = in.String();
            if (!value) return std::nullopt;
            if (*key == "shown") shown = std::move(*value);
            if (*key == "address") record.address = std::move(*value);
            if (*key == "presentation") record.presentation = std::move(*value);
            if (*key == "version") record.version = std::move(*value);
            continue;
        }
        const auto value = in.Value();
        if (!value) return std::nullopt;
        // A number out of its range, or a time out of four-digit years, the kiosk never wrote:
        // each system would make another wrong value of it.
        const auto within = [&](double low, double high) {
            return *value >= low && *value <= high;
        };
        constexpr double kYear0 = -62167219200.0, kYear10000 = 253402300800.0;
        if ((*key == "since" && !within(kYear0, kYear10000)) ||
            (*key == "seconds" && !within(0.0, kYear10000 - kYear0)) ||
            (*key == "page" && !within(1.0, INT32_MAX)))
            return std::nullopt;
        if (*key == "since") hasSince = true, record.since = *value;
        if (*key == "seconds") record.seconds = *value;
        if (*key == "page") hasPage = true, record.page = static_cast<std::int32_t>(*value);
        if (*key == "loaded") record.loaded = *value != 0.0;
    }
    if (!in.AtEnd() || !hasSince || !hasPage) return std::nullopt;
    // The offset is the one the line was written with: "+01:00" at its end.
    if (shown.size() >= 6) {
        const std::string_view zone = std::string_view(shown).substr(shown.size() - 6);
        const int hours = std::atoi(std::string(zone.substr(1, 2)).c_str());
        const int minutes = std::atoi(std::string(zone.substr(4, 2)).c_str());
        record.zoneOffset = (zone[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
    }
    return record;
}

// ---- the file ----

PlayLogFile::PlayLogFile(std::string folder, const Clock& clock, PlayLogLimits limits)
    : folder_(std::move(folder)), clock_(clock), limits_(limits) {}

PlayLogFile::~PlayLogFile() {
    Close();
}

std::string PlayLogFile::PathOf(int generation) const {
    return folder_ + "/" + std::string(kPlayLogName) +
           (generation == 0 ? "" : "." + std::to_string(generation)) + ".jsonl";
}

void PlayLogFile::Close() {
    file_.reset();
}

bool PlayLogFile::Open(std::string& why) {
    // Still the file at its path: one removed or moved aside (an owner archiving it, another
    // kiosk's rotation) is left for a new one.
    if (file_) {
        if (file_->IsAt(PathOf(0))) return true;
        Close();
    }
    if (folder_.empty()) {
        why = "the system names no state folder for it";
        return false;
    }
    if (!MakeFolders(folder_, why)) return false;
    const std::string path = PathOf(0);
    auto opened = OpenForAppend(path);
    if (!opened) {
        why = path + ": " + opened.Error();
        return false;
    }
    file_ = std::move(opened.Value());
    size_ = file_->Size();
    // The file's day is its last line's; a power cut may have torn that line, and the next
    // then starts on a line of its own.
    std::string tail = file_->Tail(kTailBytes);
    endsTorn_ = !tail.empty() && tail.back() != '\n';
    if (!tail.empty() && tail.back() == '\n') tail.pop_back();
    const auto last = ParsePlayLogLine(std::string_view(tail).substr(tail.rfind('\n') + 1));
    day_ = std::floor(last ? kDaysTo1970 + (last->since + last->zoneOffset) / kSecondsPerDay
                           : clock_.Now());
    return true;
}

bool PlayLogFile::Rotate(std::string& why) {
    Close();
    // Only the files up to the first gap move, the oldest going when there is none: a rename
    // that fails leaves a gap, so trying again never pushes the older files out one by one.
    int last = 0;
    while (last < limits_.keep && FileExists(PathOf(last + 1)))
        ++last;
    if (last == limits_.keep) RemoveFile(PathOf(last--));
    for (int generation = last; generation >= 0; --generation) {
        if (const int error = RenameFile(PathOf(generation), PathOf(generation + 1)); error != 0) {
            why = PathOf(generation) + ": " + ErrorReason(error);
            return false;
        }
    }
    return true;
}

bool PlayLogFile::Write(const std::string& line, std::string& why) {
    if (!Open(why)) return false;
    const double today = std::floor(clock_.Now());
    if (rotationDue_ ||
        (size_ > 0 && (today != day_ || size_ + line.size() + 1 > limits_.maxBytes))) {
        // Another program holding a file open (Windows) stops a rename: the lines go on in the
        // current file, and the rotation is tried again at each line until it is done.
        std::string stuck;
        const bool rotated = Rotate(stuck);
        if (!rotated && !rotationDue_)
            Warn(LogArea::Player, "the play log cannot be rotated (", stuck,
                 "); lines are added to the current file until it can be");
        rotationDue_ = !rotated;
        if (!Open(why)) return false;
    }
    const std::string whole = (endsTorn_ ? "\n" : "") + line + "\n";
    std::string failure;
    const std::size_t written = file_->Append(whole, failure);
    size_ += written;
    if (written != whole.size()) {
        why = PathOf(0) + ": " + (failure.empty() ? "the disk is full" : failure);
        endsTorn_ = endsTorn_ || written > 0;
        // Opened afresh at the next line: a folder made writable again is then used.
        Close();
        return false;
    }
    endsTorn_ = false;
    day_ = today;
    // Written through to the disk: a power cut may tear this line, never lose those before.
    file_->Sync();
    return true;
}

void PlayLogFile::PageShown(const PlayRecord& record) {
    const std::string line = PlayLogLine(record);
    std::string why;
    if (Write(line, why)) {
        if (failing_) Warn(LogArea::Player, "the play log is written again");
        failing_ = false;
    } else if (!failing_) {
        Warn(LogArea::Player, "the play log cannot be written (", why,
             "); the show goes on without it");
        failing_ = true;
    }
    if (onLine) onLine(line);
}

}  // namespace pagelark
