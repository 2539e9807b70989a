#pragma once
// A typed address as the page will load it, so the address lists judge what loads.

#include <QString>
#include <string>

namespace pagelark {

std::string TypedAddress(const QString& typed);

}  // namespace pagelark
