#include "tests/support/FatImageMount.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// mkfs.fat and fsck.fat live in sbin, which a normal user's PATH may lack.
constexpr char kToolPath[] = "PATH=\"$PATH:/usr/sbin:/sbin\" MTOOLS_SKIP_CHECK=1 ";

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

int Run(const std::string& command) {
    const int status = std::system((kToolPath + command).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool OnOtherDevice(const fs::path& path, const fs::path& parent) {
    struct stat inner {};
    struct stat outer {};
    return ::stat(path.c_str(), &inner) == 0 && ::stat(parent.c_str(), &outer) == 0 &&
           inner.st_dev != outer.st_dev;
}

}  // namespace

FatImageMount::FatImageMount()
    : image_(scratch_.Path() / "volume.img"), mountPoint_(scratch_.Path() / "volume") {
    const fs::path log = scratch_.Path() / "tools.log";
    if (Run("command -v mkfs.fat fsck.fat mcopy mdir fusefat fusermount >/dev/null") != 0) {
        failure_ = "mkfs.fat, fsck.fat, mtools, fusefat or fusermount is missing (scripts/install-deps)";
        return;
    }
    if (Run("mkfs.fat -C -F 12 -n QD7720R " + Quoted(image_) + " 1440 >" + Quoted(log) + " 2>&1") != 0) {
        failure_ = "mkfs.fat failed: " + Contents(log);
        return;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        unusable_ = "FUSE is not usable here: /dev/fuse is missing or not accessible";
        return;
    }
    fs::create_directory(mountPoint_);

    // In the foreground, so that the test knows fusefat's process and can wait for its end.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const std::string imageText = image_.string();
    const std::string mountText = mountPoint_.string();
    const char* argv[] = {"fusefat", "-f", "-s", "-o", "rw+", imageText.c_str(), mountText.c_str(), nullptr};
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, "fusefat", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        failure_ = "fusefat could not be started";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!OnOtherDevice(mountPoint_, scratch_.Path())) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            unusable_ = "FUSE is not usable here: fusefat could not mount the image: " + Contents(log);
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            unusable_ = "FUSE is not usable here: the mount did not appear within 10 s";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    fusePid_ = pid;
}

FatImageMount::~FatImageMount() {
    Unmount();
}

bool FatImageMount::Unmount() {
    if (fusePid_ <= 0) {
        return false;
    }
    const bool unmounted = Run("fusermount -u " + Quoted(mountPoint_)) == 0;
    if (!unmounted) {
        ::kill(fusePid_, SIGTERM);  // fusefat unmounts on its way out
    }
    int status = 0;
    ::waitpid(fusePid_, &status, 0);
    fusePid_ = 0;
    return unmounted && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> FatImageMount::RootNames() const {
    const fs::path listing = scratch_.Path() / "root.txt";
    std::vector<std::string> names;
    if (Run("mdir -b -i " + Quoted(image_) + " ::/ >" + Quoted(listing) + " 2>/dev/null") != 0) {
        return names;
    }
    std::istringstream lines(Contents(listing));
    for (std::string line; std::getline(lines, line);) {
        names.push_back(line.rfind("::/", 0) == 0 ? line.substr(3) : line);
    }
    return names;
}

std::vector<std::uint8_t> FatImageMount::ReadBack(const std::string& name) const {
    const fs::path copy = scratch_.Path() / "read-back.bin";
    std::error_code ignored;
    fs::remove(copy, ignored);
    if (Run("mcopy -n -i " + Quoted(image_) + " ::/" + name + " " + Quoted(copy) + " 2>/dev/null") != 0) {
        return {};
    }
    return ReadFile(copy);
}

int FatImageMount::Check(std::string* report) const {
    const fs::path output = scratch_.Path() / "fsck.txt";
    const int status = Run("fsck.fat -n " + Quoted(image_) + " >" + Quoted(output) + " 2>&1");
    *report = Contents(output);
    return status;
}
