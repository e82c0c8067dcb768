#include "pk3/TempFolder.h"

#include <cstdlib>
#include <string>

namespace twl {

PrivateTempFolder::PrivateTempFolder()
{
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / "tarnwell-XXXXXX").string();
    // mkdtemp makes the folder with mode 0700 under a fresh name.
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

PrivateTempFolder::~PrivateTempFolder()
{
    if (!m_path.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
}

} // namespace twl
