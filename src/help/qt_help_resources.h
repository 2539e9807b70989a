#pragma once
// The help files the program carries, from its Qt resources.

#include "help/help_files.h"

namespace pagelark {

// Under :/help/<type>/<id>, as src/help/help.qrc lists them.
class QtHelpResources final : public HelpResources {
  public:
    QtHelpResources();
    std::optional<std::string> Load(std::int32_t id, std::string_view type) const override;
};

}  // namespace pagelark
