#include "support/temp_folder.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace testing_support {

std::string createTempFolder()
{
    static thread_local std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto folder = base / ("desk-test-" + std::to_string(random() % 1000000000ULL));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) // false when it exists already
            return folder.string() + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    throw std::runtime_error("cannot create a temporary folder in " + base.string());
}

void removeFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TempFolder::TempFolder() : path_(createTempFolder())
{
}

TempFolder::~TempFolder()
{
    removeFolder(path_);
}

} // namespace testing_support
