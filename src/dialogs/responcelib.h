#pragma once

#include <string>

#include "document/responcelibrary.h"

namespace orvela {

// The response library's classic place beside the running executable: its path with the
// extension ".INI" (ChooseResponceLibrary decides whether it is used).
std::string ResponceIniPathBesideExecutable();

}  // namespace orvela
