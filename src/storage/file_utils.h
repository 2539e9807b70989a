#pragma once
// File, folder and path helpers on native paths ("/" separates, absolute paths start with
// "/", comparisons keep case). None throws: failures show in the result.

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"

namespace pagelark {

class IniStore;
class ShareConnector;

class FileUtils {
  public:
    FileUtils(ShareConnector& shares, IniStore& iniFiles) : shares_(shares), iniFiles_(iniFiles) {}

    bool RemoveFile(std::string_view path);
    bool MakeFolder(std::string_view path, unsigned mode = 0777);
    bool RemoveFolder(std::string_view path);
    bool DirExists(std::string_view path);
    // Replaces file with the lines, each ended by CR LF.
    bool WriteLines(const std::string& file, const std::vector<std::string>& lines);

    bool ConnectShare(const std::string& share);
    bool DisconnectShare(const std::string& share);
    void DisconnectAllShares();

    const std::vector<std::string>& ConnectedShares() const { return connectedShares_; }

  private:
    void ConnectShareOf(std::string_view path);

    ShareConnector& shares_;
    IniStore& iniFiles_;
    std::vector<std::string> connectedShares_;  // emptied slots are reused
};

}  // namespace pagelark
