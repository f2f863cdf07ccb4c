// The main of every test program. The programs of the suite keep settings,
// sockets, reports and temporary files in the user's folders, and so do the
// libraries below them; a test that reached those folders would read the
// user's settings or overwrite them. So each test program runs as a user of
// its own: home, settings, data, cache, runtime and temporary folders lie in
// one new folder inside the temporary folder it was started with, and that
// folder goes when the tests end, whatever names the tests left in it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class PrivateUser {
public:
    PrivateUser()
    {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "zentavo-tests-XXXXXX").string();
        if (error || !::mkdtemp(pattern.data())) {
            std::perror("cannot make the tests' private folder");
            return;
        }
        m_root = pattern;
        using std::filesystem::perms;
        // Tests that meet permissions as another user (Unprivileged.h) reach
        // their temporary files through this folder, so the temporary folder
        // is open to all as the system's is; the runtime folder must be the
        // user's alone, or Qt refuses it.
        const perms own = perms::owner_all;
        const perms enter = own | perms::group_exec | perms::others_exec;
        const perms shared = perms::all | perms::sticky_bit;
        const struct {
            const char *variable;
            const char *folder;
            perms mode;
        } places[] = {
            {"HOME", "home", own},
            {"XDG_CONFIG_HOME", "config", own},
            {"XDG_DATA_HOME", "data", own},
            {"XDG_CACHE_HOME", "cache", own},
            {"XDG_STATE_HOME", "state", own},
            {"XDG_RUNTIME_DIR", "run", own},
            {"TMPDIR", "temp", shared},
        };
        std::filesystem::permissions(m_root, enter, error);
        for (const auto &place : places) {
            const std::filesystem::path folder = m_root / place.folder;
            std::filesystem::create_directory(folder, error);
            if (!error)
                std::filesystem::permissions(folder, place.mode, error);
            if (error) {
                std::fprintf(stderr, "cannot make %s: %s\n", folder.c_str(), error.message().c_str());
                return;
            }
            ::setenv(place.variable, folder.c_str(), 1);
        }
        m_ready = true;
    }

    ~PrivateUser()
    {
        // Byte for byte: names that are no UTF-8 go too.
        std::error_code error;
        if (!m_root.empty() && std::filesystem::remove_all(m_root, error) == static_cast<std::uintmax_t>(-1))
            std::fprintf(stderr, "cannot remove %s: %s\n", m_root.c_str(), error.message().c_str());
    }

    PrivateUser(const PrivateUser &) = delete;
    PrivateUser &operator=(const PrivateUser &) = delete;

    bool ready() const { return m_ready; }

private:
    std::filesystem::path m_root;
    bool m_ready = false;
};

} // namespace

int main(int argc, char **argv)
{
    // A local, not a static: a child that a test forks and that ends with
    // exit() runs the static destructors, and would remove the folder its
    // parent still uses.
    const PrivateUser user;
    if (!user.ready())
        return 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
