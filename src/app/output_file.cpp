#include "app/output_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes all of `contents` to `fd`, resuming after signals and short writes.
bool writeAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The file a path names: itself, or where its symbolic links lead.
bool resolveTarget(const std::string& path, std::string& target, struct stat& status, bool& exists,
                   std::string& reason) {
    target = path;
    exists = false;
    if (lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return true;
        }
        reason = strerror(errno);
        return false;
    }
    if (S_ISLNK(status.st_mode)) {
        char* real = realpath(path.c_str(), nullptr);
        if (real == nullptr) {
            if (errno != ENOENT) {
                reason = strerror(errno);
                return false;
            }
            return true;  // a dangling link: it is replaced by the file
        }
        target = real;
        free(real);
        if (stat(target.c_str(), &status) != 0) {
            reason = strerror(errno);
            return false;
        }
    }
    exists = true;
    if (!S_ISREG(status.st_mode)) {
        reason = "not a regular file";
        return false;
    }
    return true;
}

bool writeThroughTemporary(const std::string& path, const std::string& contents, std::string& reason) {
    std::string target;
    struct stat status{};
    bool exists = false;
    if (!resolveTarget(path, target, status, exists, reason)) {
        return false;
    }
    const size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = directory + "." + name + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        reason = strerror(errno);
        return false;
    }
    mode_t mode = status.st_mode & 07777;
    if (!exists) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool written = fchmod(fd, mode) == 0 && writeAll(fd, contents) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        reason = strerror(error);
    }
    return written;
}

}  // namespace

bool writeWholeFile(const std::string& path, const std::string& contents, std::string& reason) {
    struct sigaction ignore{};
    struct sigaction previous{};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &previous);
    bool written = false;
    if (path == "-") {
        written = writeAll(STDOUT_FILENO, contents);
        if (!written) {
            reason = strerror(errno);
        }
    } else {
        written = writeThroughTemporary(path, contents, reason);
    }
    sigaction(SIGXFSZ, &previous, nullptr);
    return written;
}
