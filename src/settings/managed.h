#pragma once
// Settings an administrator sets through configuration management: INI files in one folder
// whose [Machine] and [Tessaro] values win over the settings store and the presentation file.
// The files are read in the byte order of their names, a later file over an earlier one.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace pagelark {

class Settings;
class SettingsFile;
struct MachineSettings;
struct Presentation;

// No settings file comes near this: a bigger one is refused unread.
inline constexpr std::size_t kMaxManagedFileBytes = 1024 * 1024;

// Each managed key, spelt as the settings name it, with its text from the last file setting it.
struct ManagedSettings {
    std::map<std::string, std::string, std::less<>> values;

    const std::string* Find(std::string_view key) const;
    // The managed values over the model's own; now places the next reboot.
    void Apply(Presentation& presentation, MachineSettings& machine, double now) const;
    friend bool operator==(const ManagedSettings&, const ManagedSettings&) = default;
};

struct ManagedRead {
    ManagedSettings settings;
    // One entry per line or file left out: "path: line N: why", or "path: why".
    std::vector<std::string> skipped;
};

// The folder's files named *.ini, leaving out hidden ones (an editor's or a copier's
// temporary file). A line that is no comment, section or known key, a key in the wrong
// section or again, or a value its setting cannot take, is left out alone; so are the lines
// of an unknown or repeated section, and a file that cannot be read. A line left out that
// names Locked locks the kiosk, whatever the other files say.
ManagedRead ReadManagedFolder(const std::string& folder);
// The same, each line or file left out said in one warning.
ManagedSettings LoadManagedFolder(const std::string& folder);

// Moves the model from the managed values settings holds to next, which settings then holds:
// keys now managed take their value, keys no longer managed their own again, as file and
// then the stores hold it.
void TakeManaged(Settings& settings, ManagedSettings next, const SettingsFile& file,
                 Presentation& presentation, MachineSettings& machine, double now);
// The same, reading the file now.
void TakeManaged(Settings& settings, ManagedSettings next, const std::string& file,
                 Presentation& presentation, MachineSettings& machine, double now);

// Notices a managed file added, removed or written, also in a folder made after the start.
class ManagedFolderWatch {
  public:
    explicit ManagedFolderWatch(std::string folder) : folder_(std::move(folder)) {}
    const std::string& Folder() const { return folder_; }
    // Since the last call; looks before anything is read, so a write during a read is seen
    // at the next call.
    bool Changed();

  private:
    std::string folder_;
    std::vector<std::pair<std::string, FileSignature>> seen_;
};

}  // namespace pagelark
