#include "platform/Platform_Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

namespace {

std::string With_Slash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string Xdg_Folder(const char* variable, const char* fallback_under_home) {
  if (const char* v = std::getenv(variable); v && *v == '/') return With_Slash(v);
  const char* home = std::getenv("HOME");
  return With_Slash(std::string(home && *home ? home : "/tmp") + "/" + fallback_under_home);
}

struct Process_Folder_State {
  std::mutex Lock;
  std::string Path; // empty until first use
};

Process_Folder_State& Process_Folder() {
  static Process_Folder_State state;
  return state;
}

// Removes everything inside the open folder `folder` (closed at the end),
// with system calls and stack buffers only: the process's emergency exit
// runs this, and it must work even when the heap can no longer be trusted.
void Empty_Folder_At(int folder, int depth) {
  alignas(dirent64) char entries[4096];
  for (;;) {
    const ssize_t n = getdents64(folder, entries, sizeof entries);
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const dirent64*>(entries + at);
      at += e->d_reclen;
      const char* name = e->d_name;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      if (unlinkat(folder, name, 0) == 0 || depth >= 8) continue;
      int inner = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (inner < 0) continue;
      Empty_Folder_At(inner, depth + 1);
      unlinkat(folder, name, AT_REMOVEDIR);
    }
  }
  close(folder);
}

} // namespace

std::string User_Config_Folder() { return Xdg_Folder("XDG_CONFIG_HOME", ".config"); }
std::string User_Data_Folder() { return Xdg_Folder("XDG_DATA_HOME", ".local/share"); }
std::string User_Cache_Folder() { return Xdg_Folder("XDG_CACHE_HOME", ".cache"); }

std::string Executable_Folder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return With_Slash(fs::current_path(ec).string());
  return With_Slash(exe.parent_path().string());
}

std::string Executable_Name() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("glowsaver") : exe.filename().string();
}

bool Folder_Is_Writable(const std::string& folder) {
  return !folder.empty() && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool Make_Folders(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

bool File_Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string Process_Temp_Folder() {
  auto& s = Process_Folder();
  std::lock_guard<std::mutex> lock(s.Lock);
  if (s.Path.empty()) {
    s.Path = User_Cache_Folder() + "glowsaver/run-" + std::to_string(getpid()) + "/";
    Make_Folders(s.Path);
  }
  return s.Path;
}

void Remove_Process_Temp_Folder() {
  auto& s = Process_Folder();
  std::lock_guard<std::mutex> lock(s.Lock);
  if (s.Path.empty()) return;
  int folder = open(s.Path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder >= 0) Empty_Folder_At(folder, 0);
  rmdir(s.Path.c_str());
  s.Path.clear(); // keeps its buffer: nothing is freed
}

bool Write_File_Atomically(const std::string& path, std::string_view bytes, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  fs::path target(path);
  std::error_code ec;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  std::string temp = path + ".new-" + std::to_string(getpid());
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fail(temp + ": " + std::strerror(errno));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::string why = std::strerror(errno);
      close(fd);
      unlink(temp.c_str());
      return fail(temp + ": " + why);
    }
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0 || close(fd) != 0) {
    std::string why = std::strerror(errno);
    unlink(temp.c_str());
    return fail(temp + ": " + why);
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    std::string why = std::strerror(errno);
    unlink(temp.c_str());
    return fail(path + ": " + why);
  }
  std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
  if (int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

void Offer_Installed_Files(const std::string& installed_folder, const std::string& user_folder) {
  std::error_code ec;
  if (!Make_Folders(user_folder)) return;
  for (const auto& entry : fs::directory_iterator(installed_folder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    fs::path link = fs::path(user_folder) / entry.path().filename();
    if (fs::exists(fs::symlink_status(link, ec))) continue;
    fs::create_symlink(entry.path(), link, ec);
  }
}
