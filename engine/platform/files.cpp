#include "files.h"

#include "native_path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

RenameHook renameHook;

bool writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

bool renameNative(const std::string& from, const std::string& to) {
    if (renameHook) {
        return renameHook(from, to);
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
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

bool writeFileReplacing(const std::string& path, const std::string& bytes) {
    std::string target = toNativePath(path);
    std::string temporary = target + ".tmp-XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ::chmod(temporary.c_str(), 0644);
    if (ok && renameNative(temporary, target)) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

void setRenameHook(RenameHook hook) {
    renameHook = std::move(hook);
}
