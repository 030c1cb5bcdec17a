#include "platform/core/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/core/Exceptions.h"

namespace zelvar {

namespace {

struct TCommandLine {
  std::mutex Lock;
  // nullopt until first needed or set: then read from /proc/self/cmdline.
  std::optional<std::vector<std::string>> Args;
  std::string Argv0;
  std::string ProgramDir;
};

TCommandLine& CommandLine() {
  static TCommandLine line;
  return line;
}

// The arguments the process was started with, argv[0] first.
std::vector<std::string> ProcessArguments() {
  std::vector<std::string> args;
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string arg;
  while (std::getline(in, arg, '\0')) args.push_back(arg);
  return args;
}

std::string ExecutablePath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<size_t>(n));
      return buffer;
    }
    // Possibly truncated: readlink does not say, so try again with more room.
    buffer.resize(buffer.size() * 2);
  }
}

// Must be called with the lock held.
const std::vector<std::string>& Arguments(TCommandLine& line) {
  if (!line.Args) {
    std::vector<std::string> args = ProcessArguments();
    if (!args.empty()) {
      line.Argv0 = args.front();
      args.erase(args.begin());
    }
    line.Args = std::move(args);
  }
  return *line.Args;
}

size_t NameStart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Position of the extension's dot, or npos.
size_t ExtStart(std::string_view path) {
  const size_t dot = path.rfind('.');
  return dot != std::string_view::npos && dot >= NameStart(path) ? dot : std::string_view::npos;
}

}  // namespace

std::string ParamStr(int index) {
  TCommandLine& line = CommandLine();
  std::lock_guard guard(line.Lock);
  const std::vector<std::string>& args = Arguments(line);
  if (index == 0) {
    std::string exe = ExecutablePath();
    // No /proc (a chroot, say): argv[0] is the best there is.
    if (exe.empty()) exe = line.Argv0;
    if (line.ProgramDir.empty()) return exe;
    return line.ProgramDir + '/' + ExtractFileName(exe);
  }
  if (index < 0 || static_cast<size_t>(index) > args.size()) return {};
  return args[static_cast<size_t>(index) - 1];
}

int ParamCount() {
  TCommandLine& line = CommandLine();
  std::lock_guard guard(line.Lock);
  return static_cast<int>(Arguments(line).size());
}

void SetCommandLine(int argc, char** argv) {
  TCommandLine& line = CommandLine();
  std::lock_guard guard(line.Lock);
  std::vector<std::string> args;
  line.Argv0.clear();
  for (int i = 0; argv && i < argc; ++i) {
    const char* arg = argv[i] ? argv[i] : "";
    if (i == 0) {
      line.Argv0 = arg;
    } else {
      args.emplace_back(arg);
    }
  }
  line.Args = std::move(args);
}

void SetProgramDir(std::string dir) {
  TCommandLine& line = CommandLine();
  std::lock_guard guard(line.Lock);
  line.ProgramDir = std::move(dir);
}

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(NameStart(path)));
}

std::string ExtractFileExt(std::string_view path) {
  const size_t dot = ExtStart(path);
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const size_t dot = ExtStart(path);
  return std::string(path.substr(0, dot)) + std::string(ext);
}

bool FileExists(std::string_view path) {
  // A name with a NUL in it would silently name a different file.
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  struct stat st {};
  return stat(std::string(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ReadRegularFile(const std::string& path, size_t maxSize) {
  auto fail = [&path](const std::string& why) -> EFilerError {
    return EFilerError("Cannot read file \"" + path + "\": " + why);
  };
  if (path.find('\0') != std::string::npos)
    throw EFilerError("Cannot open file \"" + path + "\": the name holds a NUL");
  // Non-blocking, so that opening a pipe nobody writes to returns at once.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw EFilerError("Cannot open file \"" + path + "\": " + std::strerror(errno));
  struct TCloser {
    int Fd;
    ~TCloser() { ::close(Fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw fail(std::strerror(errno));
  if (!S_ISREG(st.st_mode))
    throw fail(S_ISDIR(st.st_mode) ? "it is a folder" : "not a regular file");
  const std::string limit = maxSize % (1024 * 1024) == 0
                                ? std::to_string(maxSize / (1024 * 1024)) + " MB"
                                : std::to_string(maxSize) + " bytes";
  if (static_cast<uint64_t>(st.st_size) > maxSize) throw fail("larger than " + limit);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fail(std::strerror(errno));
    }
    // The file may have grown since it was measured.
    if (static_cast<size_t>(n) > maxSize - bytes.size()) throw fail("larger than " + limit);
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

void WriteFileAtomically(const std::string& named, std::string_view bytes) {
  if (named.find('\0') != std::string::npos)
    throw EFilerError("Cannot create file \"" + named + "\": the name holds a NUL");
  // Through a link to the file it names, so that the link stays.
  std::string path = named;
  if (char* real = ::realpath(named.c_str(), nullptr)) {
    path = real;
    std::free(real);
  }
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) throw EFilerError("Cannot create file \"" + named + "\": " + std::strerror(errno));
  auto fail = [&](const char* what) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    ::unlink(temp.c_str());
    return EFilerError("Cannot " + std::string(what) + " file \"" + named + "\": " + why);
  };
  // mkstemp makes the file for its owner alone: a file replaced keeps its permissions, a new
  // one is as readable as any other.
  struct stat old {};
  mode_t mode = 0;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) throw fail("create");
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fail("write");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) throw fail("write");
  if (::close(fd) != 0) {
    const std::string why = std::strerror(errno);
    ::unlink(temp.c_str());
    throw EFilerError("Cannot write file \"" + named + "\": " + why);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    ::unlink(temp.c_str());
    throw EFilerError("Cannot write file \"" + named + "\": " + why);
  }
}

std::string StateFilePath(const std::string& name) {
  if (!name.empty() && name.front() == '/') return name;
  std::string dir;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') {
    dir = state;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    dir = std::string(home) + "/.local/state";
  } else {
    throw EFilerError("Cannot keep \"" + name + "\": neither XDG_STATE_HOME nor HOME is set");
  }
  dir += "/zelvar";
  // Each level in turn, as mkdir -p: the state folder itself may not exist yet.
  for (size_t slash = 1; slash != std::string::npos;) {
    slash = dir.find('/', slash + 1);
    const std::string part = dir.substr(0, slash);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
      throw EFilerError("Cannot make folder \"" + part + "\": " + std::strerror(errno));
  }
  return dir + "/" + name;
}

}  // namespace zelvar
