// Streams over files and embedded resources, file and folder operations, the user's data folder.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/internal_core.h"
#include "platform/platform.h"

// A stream reads and writes a FILE*, or reads embedded bytes in place (read only).
struct Stream {
  FILE* File = nullptr;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Pos = 0;
  bool Failed = false;
  bool Last_Was_Write = false;   // C streams need a seek between reading and writing
};

struct Folder {
  DIR* Dir = nullptr;
};

namespace {

// Opens a file of the player's for reading (and writing, with "r+b") only when it is a regular
// file: a profile naming /dev/zero as its language would be read for ever, and a pipe would
// not even open until somebody wrote to it. A folder opens for reading but holds no bytes, and
// must not pass for an empty file either. Writing ("wb") creates or truncates whatever is there.
Stream* OpenFile(const String& path, const char* mode) {
  const bool reading = mode[0] == 'r';
  int fd = -1;
  if (reading) {
    fd = OpenRegularFile(SystemPath(path), mode[1] == '+' ? O_RDWR : O_RDONLY);
  } else {
    fd = open(SystemPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    struct stat st;
    if (fd >= 0 && (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
      close(fd);
      fd = -1;
    }
  }
  if (fd < 0) return nullptr;
  FILE* f = fdopen(fd, mode);
  if (!f) {
    close(fd);
    return nullptr;
  }
  Stream* s = new Stream;
  s->File = f;
  return s;
}

void SwitchTo(Stream* s, bool write) {
  if (s->File && s->Last_Was_Write != write) {
    std::fseek(s->File, 0, SEEK_CUR);
    s->Last_Was_Write = write;
  }
}

}  // namespace

Stream* OpenRead(const String& url) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  if (EmbeddedUrl(url, &data, &size, &embedded)) {
    Stream* s = new Stream;
    s->Data = data;
    s->Size = size;
    return s;
  }
  if (embedded) return nullptr;
  return OpenFile(url, "rb");
}

Stream* OpenWrite(const String& path) { return OpenFile(path, "wb"); }
Stream* OpenReadWrite(const String& path) { return OpenFile(path, "r+b"); }

int64_t StreamSize(Stream* s) {
  if (!s) return 0;
  if (!s->File) return int64_t(s->Size);
  if (s->Last_Was_Write) std::fflush(s->File);
  struct stat st;
  if (fstat(fileno(s->File), &st) != 0) return 0;
  return int64_t(st.st_size);
}

int64_t StreamPos(Stream* s) {
  if (!s) return 0;
  if (!s->File) return int64_t(s->Pos);
  return int64_t(ftello(s->File));
}

int StreamEof(Stream* s) {
  if (!s) return 1;
  return StreamPos(s) >= StreamSize(s) ? 1 : 0;
}

void StreamSeek(Stream* s, int64_t pos) {
  if (!s) return;
  if (pos < 0) pos = 0;
  if (!s->File) {
    s->Pos = size_t(pos) > s->Size ? s->Size : size_t(pos);
    return;
  }
  fseeko(s->File, off_t(pos), SEEK_SET);
}

int ReadByte(Stream* s) {
  uint8_t b = 0;
  return ReadBytes(s, &b, 1) == 1 ? b : 0;
}

void WriteByte(Stream* s, int byte) {
  uint8_t b = uint8_t(byte);
  WriteBytes(s, &b, 1);
}

int ReadBytes(Stream* s, void* dst, int count) {
  if (!s || count <= 0) return 0;
  if (!s->File) {
    size_t n = std::min(size_t(count), s->Size - s->Pos);
    std::memcpy(dst, s->Data + s->Pos, n);
    s->Pos += n;
    return int(n);
  }
  SwitchTo(s, false);
  return int(std::fread(dst, 1, size_t(count), s->File));
}

int WriteBytes(Stream* s, const void* src, int count) {
  if (!s || count <= 0) return 0;
  if (!s->File) {
    s->Failed = true;   // embedded data is read only
    return 0;
  }
  SwitchTo(s, true);
  size_t n = std::fwrite(src, 1, size_t(count), s->File);
  if (n != size_t(count)) s->Failed = true;
  return int(n);
}

String ReadLine(Stream* s) {
  String line;
  if (!s) return line;
  if (!s->File) {
    while (s->Pos < s->Size) {
      uint8_t b = s->Data[s->Pos++];
      if (b == '\n' || b == 0) break;
      if (b != '\r') line.push_back(b);
    }
    return line;
  }
  SwitchTo(s, false);
  int c;
  while ((c = std::getc(s->File)) != EOF) {
    if (c == '\n' || c == 0) break;
    if (c != '\r') line.push_back(char16_t(c));
  }
  return line;
}

void WriteString(Stream* s, const String& text) {
  std::string bytes = ToLatin1(text);
  WriteBytes(s, bytes.data(), int(bytes.size()));
}

void WriteLine(Stream* s, const String& line) {
  std::string bytes = ToLatin1(line);
  bytes += "\r\n";
  WriteBytes(s, bytes.data(), int(bytes.size()));
}

int StreamFailed(Stream* s) { return s && s->Failed ? 1 : 0; }

int FlushToDisk(Stream* s) {
  if (!s || !s->File) return 0;
  if (std::fflush(s->File) != 0 || fsync(fileno(s->File)) != 0) {
    s->Failed = true;
    return 0;
  }
  return s->Failed ? 0 : 1;
}

int CloseStream(Stream* s) {
  if (!s) return 0;
  bool ok = !s->Failed;
  // A full disk often shows only here, when the last buffered bytes go out.
  if (s->File && std::fclose(s->File) != 0) ok = false;
  delete s;
  return ok ? 1 : 0;
}

int64_t FileSize(const String& path) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  if (EmbeddedUrl(path, &data, &size, &embedded)) return int64_t(size);
  if (embedded) return -1;
  struct stat st;
  if (stat(SystemPath(path).c_str(), &st) != 0) return -1;
  return S_ISREG(st.st_mode) ? int64_t(st.st_size) : 0;
}

int64_t FileTime(const String& path) {
  struct stat st;
  if (stat(SystemPath(path).c_str(), &st) != 0) return 0;
  return int64_t(st.st_mtime);
}

int FileWritable(const String& path) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  if (EmbeddedUrl(path, &data, &size, &embedded) || embedded) return 0;
  const std::string p = SystemPath(path);
  struct stat st;
  if (stat(p.c_str(), &st) != 0) return 0;
  // The mode bits say what the player meant: root may write anything, so asking the system
  // alone would replace a profile its owner made read-only.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return 0;
  return access(p.c_str(), W_OK) == 0 ? 1 : 0;
}

int DeleteFile(const String& path) { return std::remove(SystemPath(path).c_str()) == 0 ? 1 : 0; }

int RenameFile(const String& from, const String& to) {
  return std::rename(SystemPath(from).c_str(), SystemPath(to).c_str()) == 0 ? 1 : 0;
}

String TemporaryFileOf(const String& path) { return path + u"_t"; }

namespace {

// Makes a rename in the folder of `path` survive a power cut. A file system that cannot sync
// folders (EINVAL) keeps its renames in order anyway.
bool SyncFolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0 || errno == EINVAL;
  if (close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

int ReplaceFile(const String& path, const void* data, size_t size) {
  const std::string target = SystemPath(path);
  const std::string temporary = SystemPath(TemporaryFileOf(path));
  // A copy left by a kill goes first, so the new one is made afresh and never written through
  // a link left in its place; anything else in the way (a folder) makes the create fail.
  unlink(temporary.c_str());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return 0;
  bool ok = true;
  // The replaced file's permissions carry over to its new copy.
  struct stat st;
  if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ok = fchmod(fd, st.st_mode & 07777) == 0;
  const uint8_t* at = static_cast<const uint8_t*>(data);
  for (size_t left = size; ok && left > 0;) {
    ssize_t n = write(fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    at += n;
    left -= size_t(n);
  }
  // The bytes reach the disk before the name does: a crash after the rename then finds the
  // whole new file, never a name over blocks that were not written yet.
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(temporary.c_str());
    return 0;
  }
  return SyncFolderOf(target) ? 1 : 0;
}

namespace {

bool IsFolder(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int CreateFolder(const String& path, int recursive) {
  std::string p = SystemPath(path);
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p.empty()) return 0;
  if (recursive) {
    for (size_t i = 1; i < p.size(); i++) {
      if (p[i] == '/') {
        std::string prefix = p.substr(0, i);
        if (!IsFolder(prefix)) mkdir(prefix.c_str(), 0777);
      }
    }
  }
  if (!IsFolder(p)) mkdir(p.c_str(), 0777);
  return IsFolder(p) ? 1 : 0;
}

Folder* ReadFolder(const String& path) {
  DIR* d = opendir(SystemPath(path).c_str());
  if (!d) return nullptr;
  Folder* f = new Folder;
  f->Dir = d;
  return f;
}

String NextFolderEntry(Folder* f) {
  if (!f || !f->Dir) return String();
  struct dirent* e = readdir(f->Dir);
  return e ? FromLatin1(e->d_name) : String();
}

void CloseFolder(Folder* f) {
  if (!f) return;
  if (f->Dir) closedir(f->Dir);
  delete f;
}

String UserAppDataFolder() {
  std::string base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // Only an absolute path counts; a relative one would move with the folder the game was
  // started from.
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      struct passwd* pw = getpwuid(getuid());
      home = pw ? pw->pw_dir : "/tmp";
    }
    base = std::string(home) + "/.local/share";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  String folder = FromLatin1(base);
  // The game makes only its own folder inside this one, so this one must exist already; on a
  // fresh account it may not.
  CreateFolder(folder, 1);
  return folder;
}

String ProgramFile() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return String();
  return FromLatin1(std::string(buf, size_t(n)));
}
