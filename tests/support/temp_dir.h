#pragma once
// A fresh temporary directory for one test, removed afterwards.

#include <filesystem>
#include <random>
#include <string>

namespace tarvel::test {

class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path() /
                    ("tarvel-test-" + std::to_string(rd()) + std::to_string(attempt));
            if (std::filesystem::create_directory(path_)) return;
        }
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tarvel::test
