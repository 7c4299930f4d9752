#include "file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vxstamp {
namespace {

std::string directory_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string system_error(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool write_all(int fd, const std::vector<unsigned char>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool read_file(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = system_error("cannot open", path);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + " is not a regular file";
        close(fd);
        return false;
    }
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            error = system_error("cannot read", path);
            close(fd);
            return false;
        }
        done += static_cast<size_t>(got);
    }
    close(fd);
    return true;
}

std::string replace_problem(const std::string& path) {
    if (access(path.c_str(), W_OK) != 0) return system_error("cannot write", path);
    // The new file is made beside the old one and renamed over it: that needs the directory.
    const std::string directory = directory_of(path);
    if (access(directory.c_str(), W_OK | X_OK) != 0) return system_error("cannot write in directory", directory);
    return {};
}

bool replace_file(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = system_error("cannot stat", path);
        return false;
    }
    const std::string directory = directory_of(path);
    std::string temporary = path + ".vxstamp-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = system_error("cannot create a temporary file in", directory);
        return false;
    }
    // Only a privileged caller can hand the file back to its owner; anyone else already is the owner
    // or lets the copy become theirs, as any rewrite would.
    // The mode comes after the owner: changing the owner may clear set-id bits.
    bool ok = write_all(fd, bytes) && (fchown(fd, info.st_uid, info.st_gid) == 0 || errno == EPERM) &&
              fchmod(fd, info.st_mode & 07777) == 0 && fsync(fd) == 0;
    if (!ok) error = system_error("cannot write", temporary);
    if (close(fd) != 0 && ok) {
        ok = false;
        error = system_error("cannot write", temporary);
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = system_error("cannot replace", path);
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dir_fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd >= 0) {
        fsync(dir_fd);
        close(dir_fd);
    }
    return true;
}

}  // namespace vxstamp
