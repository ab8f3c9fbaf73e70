#include "files.h"

#include "native_path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

RenameHook renameHook;

constexpr char kTemporaryMark[] = ".tmp-";
// mkstemp replaces these six characters with letters and digits.
constexpr size_t kTemporaryUniqueLength = 6;

// Writes every byte; 0 on success, otherwise the error number.
int writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        written += static_cast<size_t>(n);
    }
    return 0;
}

bool renameNative(const std::string& from, const std::string& to) {
    if (renameHook) {
        return renameHook(from, to);
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// The folder part of a native path, ending with "/", or "" for a bare name.
std::string nativeFolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Flushes the folder's entries, so a rename in it survives a stopped machine. 0 on success,
// otherwise the error number; file systems that cannot flush a folder (EINVAL) count as success.
int syncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

bool fail(std::string* failure, const std::string& step, int error) {
    if (failure) {
        *failure = step + ": " + std::strerror(error);
    }
    return false;
}

} // namespace

bool pathExists(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(toNativePath(path).c_str(), &info) == 0;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(toNativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isWritableFolder(const std::string& path) {
    return isFolder(path) && access(toNativePath(path).c_str(), W_OK) == 0;
}

long long fileSize(const std::string& path) {
    struct stat info;
    if (path.empty() || stat(toNativePath(path).c_str(), &info) != 0) {
        return -1;
    }
    return static_cast<long long>(info.st_size);
}

bool createFolder(const std::string& path) {
    std::string native = toNativePath(path);
    return ::mkdir(native.c_str(), 0755) == 0 || isFolder(path);
}

bool removeFile(const std::string& path) {
    return ::unlink(toNativePath(path).c_str()) == 0;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::string bytes;
    return readWholeFile(from, bytes) && writeFileReplacing(to, bytes);
}

std::vector<FolderEntry> listFolder(const std::string& path) {
    std::vector<FolderEntry> entries;
    std::string native = toNativePath(path);
    DIR* dir = opendir(native.empty() ? "." : native.c_str());
    if (!dir) {
        return entries;
    }
    std::string prefix = native.empty() || native.back() == '/' ? native : native + "/";
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info;
        bool folder = stat((prefix + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back({name, folder});
    }
    closedir(dir);
    return entries;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    FILE* file = std::fopen(toNativePath(path).c_str(), "rb");
    if (!file) {
        return false;
    }
    std::string content;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, n);
    }
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (ok) {
        bytes.swap(content);
    }
    return ok;
}

bool writeFileReplacing(const std::string& path, const std::string& bytes, std::string* failure) {
    std::string target = toNativePath(path);
    std::string folder = nativeFolderOf(target);
    std::string temporary = folder + "." + target.substr(folder.size()) + kTemporaryMark + "XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return fail(failure, "creating a temporary file in " + (folder.empty() ? "." : folder),
                    errno);
    }
    std::string step;
    int error = writeAll(fd, bytes);
    if (error != 0) {
        step = "writing";
    } else if (::fchmod(fd, 0644) != 0) {
        step = "setting the permissions";
        error = errno;
    } else if (::fsync(fd) != 0) {
        step = "flushing to the disk";
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        step = "closing";
        error = errno;
    }
    if (error == 0) {
        errno = 0;
        if (renameNative(temporary, target)) {
            error = syncFolder(folder);
            return error == 0 || fail(failure, "flushing the folder " + folder, error);
        }
        step = "replacing " + target;
        error = errno != 0 ? errno : EIO;
    }
    ::unlink(temporary.c_str());
    return fail(failure, step, error);
}

bool isTemporaryFileName(const std::string& name) {
    const std::string mark = kTemporaryMark;
    const size_t tail = mark.size() + kTemporaryUniqueLength;
    // "." + the target's name + the mark + the unique characters.
    if (name.size() < tail + 2 || name[0] != '.' ||
        name.compare(name.size() - tail, mark.size(), mark) != 0) {
        return false;
    }
    return std::all_of(name.end() - kTemporaryUniqueLength, name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

int removeLeftoverTemporaries(const std::string& folder) {
    std::string native = toNativePath(folder);
    std::string prefix = native.empty() || native.back() == '/' ? native : native + "/";
    int removed = 0;
    for (const FolderEntry& entry : listFolder(folder)) {
        if (!entry.isFolder && isTemporaryFileName(entry.name) &&
            ::unlink((prefix + entry.name).c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

void setRenameHook(RenameHook hook) {
    renameHook = std::move(hook);
}
