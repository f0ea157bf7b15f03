// Linked into every test program: before anything else runs, the program gets a fresh home and
// fresh XDG folders of its own, so that no test ever reads or writes the user's real preferences or
// data, and no run sees what an earlier run left behind. The folder is removed at exit.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace {

struct TestHome {
    std::filesystem::path root;

    TestHome() {
        const char* base = std::getenv("NBR_TEST_HOME_BASE");
        std::filesystem::path parent = base ? base : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(parent);
        std::string pattern = (parent / "nbr-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root = pattern;
        const std::pair<const char*, const char*> folders[] = {
            {"HOME", "home"},
            {"XDG_CONFIG_HOME", "config"},
            {"XDG_DATA_HOME", "data"},
            {"XDG_CACHE_HOME", "cache"},
            {"XDG_RUNTIME_DIR", "runtime"},
            {"XDG_CONFIG_DIRS", "etc-xdg"},
            {"XDG_DATA_DIRS", "share"},
        };
        for (const auto& [variable, folder] : folders) {
            const std::filesystem::path p = root / folder;
            std::filesystem::create_directories(p);
            ::chmod(p.c_str(), 0700);
            ::setenv(variable, p.c_str(), 1);
        }
    }

    ~TestHome() {
        std::error_code ignored;
        if (!std::getenv("NBR_KEEP_TEST_HOME"))
            std::filesystem::remove_all(root, ignored);
    }
};

TestHome testHome;

} // namespace
